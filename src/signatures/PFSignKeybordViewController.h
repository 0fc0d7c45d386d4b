#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

class PFSignColorWell;
class QComboBox;
class QLineEdit;
class QPushButton;
class UserDefaults;

// The Type tab: text in a chosen font and colour. The fonts picked recently (kept under
// "signFont", most recent first, at most six) head the font list.
class PFSignKeybordViewController : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRecentLimit = 6;

    explicit PFSignKeybordViewController(UserDefaults &defaults, QWidget *parent = nullptr);

    // Done: (font, colour, text); Close or Done without text: (none, colour, none).
    std::function<void(std::optional<QString>, QColor, std::optional<QString>)> pfDoneEndEdit;

    const QStringList &totalFontsArray() const { return m_totalFonts; }
    const QStringList &halfFontsArray() const { return m_halfFonts; }
    QComboBox *fontPopup() const { return m_fontPopup; }
    QLineEdit *pfTextField() const { return m_textField; }
    PFSignColorWell *colorWell() const { return m_colorWell; }
    QPushButton *doneButton() const { return m_done; }
    QPushButton *closeButton() const { return m_close; }

    // A font picked from the list: to the front of the recent ones, and into the text field.
    void pfItemClick(const QString &name);

private:
    // The list is `front` followed by every font family; a separator follows the recent ones.
    void rebuildFonts(const QStringList &front, const QStringList &recent);
    void showFont(const QString &name);
    void finish(bool done);

    UserDefaults &m_defaults;
    QStringList m_totalFonts;
    QStringList m_halfFonts;
    QComboBox *m_fontPopup;
    QLineEdit *m_textField;
    PFSignColorWell *m_colorWell;
    QPushButton *m_done;
    QPushButton *m_close;
};
