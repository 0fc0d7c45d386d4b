#include "PFPagemarkController.h"

#include "PFPagemarkEditController.h"
#include "PFPagemarkTableView.h"

#include "editing/PFBasePDFView.h"
#include "editing/PFPageMarks.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"

#include <QFont>
#include <QLineEdit>
#include <QFontMetricsF>
#include <QIcon>
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

double rowHeight(const QString &title)
{
    QFont font;
    font.setPixelSize(13);
    const QRectF text = QFontMetricsF(font).boundingRect(QRectF(0, 0, 137, 1e6), Qt::TextWordWrap, title);
    return std::max(30.0, std::ceil(text.height()) + 14);
}

} // namespace

PFPagemarkController::PFPagemarkController(PFBasePDFView *view, QWidget *parent)
    : QWidget(parent), m_view(view), m_table(new PFPagemarkTableView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);
    connect(m_table, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { rowChosen(m_table->indexOfTopLevelItem(item)); });
    connect(m_table, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        m_selectRow = m_table->indexOfTopLevelItem(item);
        // Once the double click is over, so that its release does not close the popover.
        QMetaObject::invokeMethod(this, &PFPagemarkController::pfDoubleClickEdit, Qt::QueuedConnection);
    });
    connect(m_table, &PFPagemarkTableView::pfPagemarkTableSelect, this, &PFPagemarkController::rightClicked);
    connect(m_view->pfPageMarks(), &PFPageMarks::pfRefreshPagemarkClick, this,
            [this](const QString &pageKey) { pfRefreshData(pageKey); }, Qt::QueuedConnection);
    connect(m_view, &PDFView::documentChanged, this, [this] {
        // Another document's rows never stay; the same one laid out again reads the same store.
        m_rows.clear();
        m_selectRow = -1;
        pfRefreshData();
    });
    pfRefreshData();
}

QString PFPagemarkController::storeKey() const { return m_view->pfPageMarks()->storeKey(); }

void PFPagemarkController::pfRefreshData(const QString &pageKey)
{
    const QString key = storeKey();
    const QVariant stored = key.isEmpty() ? QVariant() : UserDefaults::standard().value(key);
    if (stored.typeId() == QMetaType::QVariantMap) {
        const QVariantMap marks = stored.toMap();
        QVector<std::pair<qint64, QString>> entries;
        for (auto it = marks.cbegin(); it != marks.cend(); ++it) {
            bool ok = false;
            const qint64 index = it.key().toLongLong(&ok);
            if (ok && index >= 0)
                entries.append({index, it.value().toString()});
        }
        std::sort(entries.begin(), entries.end(),
                  [](const auto &a, const auto &b) { return a.first < b.first; });
        m_rows.clear();
        for (const auto &[index, title] : entries)
            m_rows.append(PFPagemarkModel{title, QString::number(index + 1), rowHeight(title)});
    }
    m_table->clear();
    const QIcon icon(QStringLiteral(":/resources/icons/bookmarkH.svg"));
    for (const PFPagemarkModel &row : std::as_const(m_rows)) {
        auto *item = new QTreeWidgetItem(m_table, {row.pfTitle, row.pfPageNum});
        item->setIcon(0, icon);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setSizeHint(0, QSize(0, int(row.rowHeight)));
        item->setToolTip(0, row.pfTitle);
    }
    if (!pageKey.isEmpty()) {
        bool ok = false;
        const qint64 index = pageKey.toLongLong(&ok);
        for (int i = 0; ok && i < m_rows.size(); ++i)
            if (m_rows[i].pfPageNum == QString::number(index + 1)) {
                m_selectRow = i;
                m_table->setCurrentItem(m_table->topLevelItem(i));
            }
    } else if (m_selectRow >= 0 && m_selectRow < m_rows.size()) {
        m_table->setCurrentItem(m_table->topLevelItem(m_selectRow));
    }
}

void PFPagemarkController::rowChosen(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_selectRow = row;
    const int index = m_rows[row].pfPageNum.toInt() - 1;
    const PDFDocument document = m_view->document();
    if (!document.isNull() && index >= 0 && index < document.pageCount())
        m_view->goToPage(document.page(index));
}

void PFPagemarkController::rightClicked(int row, QPoint point)
{
    m_selectRow = row;
    m_table->setCurrentItem(m_table->topLevelItem(row));
    delete m_menu;
    m_menu = new QMenu(m_table);
    m_menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_menu->addAction(pfLocalized("重命名")), &QAction::triggered, this, [this] { pfEditMarkMenuClick(RenameTag); });
    m_menu->addSeparator();
    connect(m_menu->addAction(pfLocalized("删除")), &QAction::triggered, this, [this] { pfEditMarkMenuClick(DeleteTag); });
    m_menu->popup(m_table->viewport()->mapToGlobal(point));
}

void PFPagemarkController::pfEditMarkMenuClick(int tag)
{
    if (tag == RenameTag)
        pfDoubleClickEdit();
    else
        deleteRow(m_selectRow);
}

void PFPagemarkController::deleteRow(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    const QString pageKey = QString::number(m_rows[row].pfPageNum.toLongLong() - 1);
    m_rows.removeAt(row);
    m_selectRow = -1;
    const QString key = storeKey();
    QVariantMap marks = UserDefaults::standard().value(key).toMap();
    marks.remove(pageKey);
    UserDefaults::standard().setValue(key, marks);
    pfRefreshData();
    m_view->pfPageMarks()->pfShowPagemarks(); // the ribbon goes
}

void PFPagemarkController::pfDoubleClickEdit()
{
    if (m_rows.isEmpty() || m_selectRow < 0 || m_selectRow >= m_rows.size() || m_popover)
        return;
    const int row = m_selectRow;
    auto *popover = new PFPagemarkEditController(m_rows[row].pfTitle, m_table);
    m_popover = popover;
    popover->pfDoneEdit = [this, row](const QString &title) {
        if (row >= m_rows.size())
            return;
        m_rows[row].pfTitle = title;
        pfSaveMarks(row);
        pfRefreshData();
        // The view writes its whole set on the next bookmark added, so it takes the new title too.
        m_view->pfPageMarks()->pfShowPagemarks();
    };
    const QRect rect = m_table->visualItemRect(m_table->topLevelItem(row));
    popover->adjustSize();
    popover->move(m_table->viewport()->mapToGlobal(QPoint(rect.left(), rect.bottom() + 2)));
    popover->show();
    popover->textField()->setFocus();
}

void PFPagemarkController::pfSaveMarks(int row)
{
    const QString key = storeKey();
    if (key.isEmpty())
        return;
    QVariantMap marks = UserDefaults::standard().value(key).toMap();
    marks.insert(QString::number(m_rows[row].pfPageNum.toLongLong() - 1), m_rows[row].pfTitle);
    UserDefaults::standard().setValue(key, marks);
}

void PFPagemarkController::setDark(bool dark)
{
    QPalette palette = m_table->palette();
    palette.setColor(QPalette::Base, dark ? QColor(28, 32, 35) : QColor(Qt::white));
    palette.setColor(QPalette::Text, dark ? QColor(Qt::white) : QColor(Qt::black));
    m_table->setPalette(palette);
}
