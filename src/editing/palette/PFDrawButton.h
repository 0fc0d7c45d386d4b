#pragma once

#include <QToolButton>

// A palette button: borderless, showing its normal or its chosen image.
class PFDrawButton : public QToolButton {
    Q_OBJECT
public:
    PFDrawButton(int tag, const QString &normalImage, const QString &chosenImage, QWidget *parent = nullptr);

    int tag() const { return m_tag; }
    bool isChosen() const { return m_chosen; }
    void pfSetChosen(bool chosen);
    // The image name shown now.
    QString imageName() const { return m_chosen ? m_chosenImage : m_normalImage; }

    // The icon of a palette image name.
    static QIcon iconNamed(const QString &name);

private:
    int m_tag;
    QString m_normalImage;
    QString m_chosenImage;
    bool m_chosen = false;
};
