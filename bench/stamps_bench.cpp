// Measures the Image and Stamp tools in the real document window.
//   stamps_bench picture-growth FILE.pdf   places a 12-megapixel JPEG photo (about 3 MB, made
//                                          here) on page 1 at 200 x 150 points and saves; prints
//                                          the bytes the file grew divided by the JPEG's bytes
//   stamps_bench stamp-picker-open         ms from the Stamp button's click to the picker with
//                                          all 23 cells painted: the first opening of the
//                                          window, then the best of 10 more
// Run it with a throw-away HOME: the window reads and writes the user's preferences.
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/PFBaseImageAnnotation.h"
#include "editing/PFBasePDFView.h"
#include "editing/palette/PFDrawButton.h"
#include "editing/palette/PFDrawMenuView.h"
#include "platform/store/UserDefaults.h"
#include "stamps/PFPicture.h"
#include "stamps/PFStampCellView.h"
#include "stamps/PFStampPlacement.h"
#include "stamps/PFStampSelectViewController.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// A photo-like 4000 x 3000 picture: smooth shading with fine grain, about 3 MB as a JPEG.
QByteArray makePhoto()
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator grain(7);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(grain.bounded(24)) - 12;
            line[x] = qRgb(std::clamp(x * 255 / 4000 + n, 0, 255), std::clamp(y * 255 / 3000 + n, 0, 255),
                           std::clamp(128 + ((x / 40 + y / 40) % 2) * 60 + n, 0, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(88);
    writer.write(image);
    return bytes;
}

struct Window {
    QTemporaryDir dir;
    UserDefaults defaults{dir.filePath(QStringLiteral("prefs.json"))};
    ViewController *controller = new ViewController(defaults);
    PFWindowController window{controller};
};

int pictureGrowth(const QString &source)
{
    Window w;
    const QString path = w.dir.filePath(QStringLiteral("doc.pdf"));
    if (!QFile::copy(source, path))
        return 1;
    const QByteArray jpeg = makePhoto();
    const QString photo = w.dir.filePath(QStringLiteral("photo.jpg"));
    QFile out(photo);
    if (!out.open(QIODevice::WriteOnly) || out.write(jpeg) != jpeg.size())
        return 1;
    out.close();
    w.window.resize(1200, 900);
    w.window.show();
    auto content = std::make_shared<PFContent>();
    content->filePath = path;
    if (!w.controller->setRepresentedObject(content))
        return 1;
    const qint64 before = QFileInfo(path).size();
    const PFPicture picture = PFPicture::fromFile(photo);
    PFBasePDFView *view = w.controller->pdfView();
    const PDFPage page = view->document().page(0);
    PFBaseImageAnnotation annotation(page, picture.drawingImage(), QRectF(100, 300, 200, 150));
    if (annotation.isNull())
        return 1;
    view->pfAddShapeAnnotation(annotation, 0);
    if (!w.controller->pfSavePDFFile(path))
        return 1;
    const qint64 after = QFileInfo(path).size();
    std::printf("%.3f %lld %lld\n", double(after - before) / double(jpeg.size()), (long long)(after - before),
                (long long)jpeg.size());
    return 0;
}

int pickerOpen()
{
    Window w;
    w.window.resize(1200, 900);
    w.window.show();
    w.controller->pfShowZhuShiMenu();
    PFDrawButton *stamp = w.controller->drawMenu()->buttonWithTag(14);
    double first = 0, best = 1e9;
    for (int round = 0; round < 11; ++round) {
        QElapsedTimer timer;
        timer.start();
        const QPointF centre = QRectF(stamp->rect()).center();
        QMouseEvent press(QEvent::MouseButtonPress, centre, stamp->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, centre, stamp->mapToGlobal(centre), Qt::LeftButton, {}, {});
        QApplication::sendEvent(stamp, &press);
        QApplication::sendEvent(stamp, &release);
        QCoreApplication::processEvents(); // the bar reports through the event loop
        PFStampSelectViewController *picker = w.controller->stampPlacement()->pfStampSelectCon();
        if (!picker || !picker->isVisible())
            return 1;
        // Every cell painted, also those below the visible part of the grid.
        QImage canvas(PFStampCellView::kCellSize, QImage::Format_ARGB32_Premultiplied);
        picker->repaint();
        for (PFStampCellView *cell : picker->cells())
            cell->render(&canvas);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (round == 0)
            first = ms;
        else
            best = std::min(best, ms);
        picker->close();
        QCoreApplication::processEvents();
    }
    std::printf("%.2f %.2f\n", first, best);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Quirna"));
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("picture-growth") && args.size() > 2)
        return pictureGrowth(args.value(2));
    if (args.value(1) == QLatin1String("stamp-picker-open"))
        return pickerOpen();
    std::fprintf(stderr, "usage: stamps_bench picture-growth FILE.pdf | stamp-picker-open\n");
    return 2;
}
