#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <QVector>

class PDFTileRenderer;
class PDFView;

// A vertical list of page thumbnails bound to a PDF view: it marks the view's current page
// and a click on a thumbnail makes that page current. Thumbnails render off this thread.
class PDFThumbnailView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kSpacing = 12;
    static constexpr int kLabelHeight = 18;

    explicit PDFThumbnailView(QWidget *parent = nullptr);
    ~PDFThumbnailView() override;

    PDFView *pdfView() const { return m_view; }
    void setPDFView(PDFView *view);
    int thumbnailWidth() const { return m_width; }
    void setThumbnailWidth(int width);
    // The thumbnail's rect in viewport coordinates; null for an unknown index.
    QRect thumbnailRect(int index) const;
    int indexAt(QPoint point) const;
    PDFTileRenderer *tileRenderer() const { return m_renderer; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void relayout();
    void followCurrentPage();
    double scaleOf(int index) const;

    QPointer<PDFView> m_view;
    PDFTileRenderer *m_renderer;
    QVector<QRect> m_rects; // in document coordinates, the thumbnail images only
    int m_width = 160;
    int m_height = 0;
};
