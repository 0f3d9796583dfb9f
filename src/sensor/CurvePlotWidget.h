#pragma once
// One DPI curve plot of the advanced page: axes, dashed grid, a smooth curve through eight control
// points with the area below it shaded, the points, and value boxes for the point under the pointer and
// the point being dragged. Points can be dragged with the left button while EditFlag is set.

#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <QVector>
#include <QWidget>

class QPainter;

// Axis titles of every plot; the advanced page sets them from the language file.
extern QString CurveAxisTitleX;
extern QString CurveAxisTitleY;

class CurvePlotWidget : public QWidget {
    Q_OBJECT

public:
    explicit CurvePlotWidget(QWidget* parent = nullptr);
    ~CurvePlotWidget() override;

    // Non-zero: the left button picks up and drags points. The host writes it directly.
    int EditFlag = 0;

    QPointF DataToPixel(const QPointF& data) const;
    QPointF PixelToData(const QPointF& pixel) const;
    // Catmull-Rom spline through the points as cubic segments, in pixels; empty with fewer than two.
    QPainterPath BuildSmoothPath(const QVector<QPointF>& points) const;
    // Eight points at x = 0, 1000, ... 7000 with whole y values 10..59 from the process's fixed-seed
    // sequence, so every run shows the same curves.
    void MakeDemoPoints();

    const QVector<QPointF>& Points() const { return points_; }
    int DragIndex() const { return dragIndex_; }
    int HoverIndex() const { return hoverIndex_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    void DrawGrid(QPainter* painter);
    void DrawAxes(QPainter* painter);
    void DrawCurve(QPainter* painter);
    void DrawPoints(QPainter* painter);
    void DrawValueBox(QPainter* painter);

private:
    // False while the widget is not wider and taller than the two margins: the mapping has no area then.
    bool HasPlotArea() const;
    // Index of the first point closer than limit to data, or -1; each distance goes to the debug log.
    int PointNear(const QPointF& data, double limit, const char* logTag) const;
    void DrawBox(QPainter* painter, const QPointF& point, const QString& text, const QString& measured,
                 int alignment);

    QVector<QPointF> points_;
    int dragIndex_ = -1;
    double xMin_ = 0;
    double xMax_ = 7000;
    double yMin_ = 0;
    double yMax_ = 70;
    QVector<double> xTicks_;
    QVector<double> yTicks_;
    int margin_ = 80;
    int hoverIndex_ = -1;
};
