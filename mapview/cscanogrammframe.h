#pragma once

#include <QFrame>
#include <QImage>
#include <QPoint>

#include <vector>

class QAbstractScale;
class QAction;
class QMenu;
class QPainter;
class ScanImage;

//! Shows one scan image (C-, B- or D-scan) at a pan offset with a cursor cross or a measuring
//! rectangle over it, and turns mouse work into signals. It knows nothing of the volume: every
//! position it exchanges is an image pixel (widget position + offset); the owner converts them
//! to volume indices and writes corners back for painting.
//!
//! Rectangles: a press emits rectangleSelectionBegun(p); the owner answers with
//! setFirstCorner(p, indices) and setSecondCorner(p, −1 indices). While the button is held the
//! second corner follows the mouse; the release emits rectangleSelected (corners normalised,
//! or all −1 when smaller than the minimum size). With mouse tracking on (the owner switches it
//! on once a rectangle is finished) the edges can be hovered and dragged; each drag ends with
//! rectangleBorderChanged. In dragging mode the left button only pans (offsetChanged).
class CScanogrammFrame : public QFrame
{
    Q_OBJECT

public:
    enum Edge { NoEdge = 0, LeftEdge = 1, RightEdge = 2, TopEdge = 3, BottomEdge = 4 };

    //! An indication drawn over the image: a ring with its number at an image pixel.
    struct Mark
    {
        QPoint pixel;
        int number = 0;
        bool selected = false;
        bool operator==(const Mark&) const = default;
    };
    //! Colour of the marks: no palette colour, so they stand out on any image.
    static QColor markColour() { return QColor(255, 0, 255); }
    //! Radius of a mark's ring in pixels; the selected one's is larger.
    static constexpr int kMarkRadius = 5;
    static constexpr int kSelectedMarkRadius = 8;

    explicit CScanogrammFrame(QWidget* parent = nullptr);
    ~CScanogrammFrame() override;

    //! The image shown (not owned). Its frame size is the visible window.
    void setImage(ScanImage* pImage);
    ScanImage* image() const { return m_pImage; }

    //! Per axis: when both the pixel and the index are negative the old values stay, otherwise
    //! both are replaced (an index may become −1 with a valid pixel).
    void setSecondCorner(int px, int py, int ix, int iy);
    void setFirstCorner(int px, int py, int ix, int iy);
    //! The cursor is the second corner's pixel; a negative value keeps that axis.
    void setCursorPixel(int px, int py);
    void setFirstCornerPixel(int px, int py);
    //! Mouse tracking off, no hover, every corner −1; emits cursorsReseted() when bNotify.
    void resetSelection(bool bNotify);
    //! 1: measuring rectangles, 0: cursor.
    void setMeasuring(int iMeasuring);
    void setOffset(int x, int y);
    //! Smallest rectangle in pixels (default 5 × 5).
    void setMinRectSize(int w, int h);
    //! Pan dragging with hand cursors.
    void setDraggingMode(bool bOn);
    //! Mouse range for rectangle work back to the visible image.
    void resetLimits();
    //! The indications to draw, in image pixels; they move with the image when it is panned.
    void setMarks(std::vector<Mark> marks) { m_marks = std::move(marks); }
    const std::vector<Mark>& marks() const { return m_marks; }

    QPoint secondCorner() const { return m_second; }
    QPoint secondCornerIndices() const { return m_secondIdx; }
    QPoint firstCorner() const { return m_first; }
    QPoint firstCornerIndices() const { return m_firstIdx; }
    QPoint cursorPixel() const { return m_second; }
    QPoint offset() const { return m_offset; }
    int measuring() const { return m_iMeasuring; }
    bool draggingMode() const { return m_bDragging; }
    int hoveredEdge() const { return m_iEdge; }
    QPoint xLimits() const { return m_xLimits; }
    QPoint yLimits() const { return m_yLimits; }
    QSize minRectSize() const { return m_minSize; }
    QAction* copyAction() const { return m_pCopyAction; }
    QMenu* contextMenu() const { return m_pMenu; }

    //! What the frame shows: the image's visible window with the cursor or rectangle drawn
    //! over it. Null without an image or frame size.
    QImage visiblePicture() const;
    //! visiblePicture() composed with the frame's rulers (see MapPicture::compose).
    QImage composedImage(const QAbstractScale* pVertical, const QAbstractScale* pHorizontal,
                         int iScaleThickness) const;
    //! Puts composedImage() on the system clipboard; false when there is nothing to copy.
    bool copyToClipboard(const QAbstractScale* pVertical, const QAbstractScale* pHorizontal,
                         int iScaleThickness) const;

    void retranslate();

signals:
    void cursorPositionChanged(QPoint curPos);
    void cursorsReseted();
    void rectangleSelectionBegun(QPoint curPos);
    void rectangleSelected(QPoint p1, QPoint p2);
    void rectangleBorderChanged(QPoint p1, QPoint p2);
    void offsetChanged(QPoint p);
    void mouseWheelScrolled(int numSteps);
    void copyImageToClipboard();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void drawOverlay(QImage& picture, const QPoint& offset) const;
    void drawMarks(QPainter& painter) const;
    QPoint dragOffset(const QPoint& mouse) const;
    void placeSecondCorner(const QPoint& mouse);
    void moveDraggedEdge(const QPoint& mouse);
    void updateHover(const QPoint& mouse);
    bool firstCornerSet() const { return m_first.x() >= 0 || m_first.y() >= 0; }
    int visibleWidth() const;
    int visibleHeight() const;

    ScanImage* m_pImage = nullptr;
    int m_iMeasuring = 0;
    QPoint m_second{-1, -1};
    QPoint m_secondIdx{-1, -1};
    QPoint m_first{-1, -1};
    QPoint m_firstIdx{-1, -1};
    QPoint* m_pDraggedCorner = nullptr;
    QColor m_penColour = Qt::white;
    QPoint m_offset;
    QPoint m_dragOrigin;
    bool m_bEdgeHover = false;
    bool m_bDragging = false;
    bool m_bPanning = false;
    QAction* m_pCopyAction = nullptr;
    QMenu* m_pMenu = nullptr;
    int m_iDragDelta = 0;
    int m_iEdge = NoEdge;
    int m_iDragEdge = NoEdge;
    QPoint m_xLimits;
    QPoint m_yLimits;
    QSize m_minSize{5, 5};
    std::vector<Mark> m_marks;
};
