#include "sensor/CurvePlotWidget.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <random>

#include "platform/DebugLog.h"

QString CurveAxisTitleX;
QString CurveAxisTitleY;

namespace {

constexpr double kPickDistance = 50;
constexpr double kHoverDistance = 60;
constexpr int kPointRadius = 8;

// One sequence for the whole process, seeded the same every run: the plots are built in a fixed order,
// so each shows the same curve every time.
std::mt19937& DemoSequence() {
    static std::mt19937 sequence;
    return sequence;
}

// Fraction cut off toward zero.
int Trunc(double value) {
    return int(value);
}

QString ValueText(const QPointF& point, const char* pattern) {
    return QString(pattern).arg(point.x(), 0, 'f', 1).arg(point.y(), 0, 'f', 1);
}

}  // namespace

CurvePlotWidget::CurvePlotWidget(QWidget* parent)
    : QWidget(parent), xTicks_{0, 500, 1000, 2000, 3000, 4000, 5000, 6000, 7000}, yTicks_{0,  5,  10, 20, 30,
                                                                                          40, 50, 60, 70} {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_MouseTracking);
    MakeDemoPoints();
}

CurvePlotWidget::~CurvePlotWidget() = default;

QPointF CurvePlotWidget::DataToPixel(const QPointF& data) const {
    const double w = width() - 2.0 * margin_;
    const double h = height() - 2.0 * margin_;
    return QPointF((data.x() - xMin_) * w / (xMax_ - xMin_) + margin_,
                   height() - margin_ - (data.y() - yMin_) * h / (yMax_ - yMin_));
}

QPointF CurvePlotWidget::PixelToData(const QPointF& pixel) const {
    const double w = width() - 2.0 * margin_;
    const double h = height() - 2.0 * margin_;
    return QPointF((xMax_ - xMin_) * (pixel.x() - margin_) / w + xMin_,
                   yMax_ - (yMax_ - yMin_) * (pixel.y() - margin_) / h);
}

QPainterPath CurvePlotWidget::BuildSmoothPath(const QVector<QPointF>& points) const {
    QPainterPath path;
    const int n = points.size();
    if (n < 2) return path;
    QVector<QPointF> p;
    p.reserve(n);
    for (const QPointF& point : points) p.append(DataToPixel(point));
    path.moveTo(p[0]);
    for (int i = 0; i + 1 < n; ++i) {
        const QPointF& a = p[i == 0 ? i : i - 1];
        const QPointF& b = p[i];
        const QPointF& c = p[i + 1];
        const QPointF& d = p[i + 2 == n ? i + 1 : i + 2];
        path.cubicTo(b + (c - a) / 6, c - (d - b) / 6, c);
    }
    return path;
}

void CurvePlotWidget::MakeDemoPoints() {
    points_.clear();
    for (int i = 0; i < 8; ++i) {
        const unsigned r = unsigned(DemoSequence()());
        points_.append(QPointF(xMin_ + i * (xMax_ - xMin_) / 7, double(r % 50 + 10)));
    }
}

bool CurvePlotWidget::HasPlotArea() const {
    return width() > 2 * margin_ && height() > 2 * margin_;
}

int CurvePlotWidget::PointNear(const QPointF& data, double limit, const char* logTag) const {
    for (int i = 0; i < points_.size(); ++i) {
        const QPointF delta = data - points_[i];
        const double distance = std::sqrt(delta.x() * delta.x() + delta.y() * delta.y());
        if (logTag)
            qCDebug(VzDebug) << logTag << distance;
        else
            qCDebug(VzDebug) << distance;
        if (distance < limit) return i;
    }
    return -1;
}

void CurvePlotWidget::mousePressEvent(QMouseEvent* event) {
    if (HasPlotArea() && EditFlag && event->button() == Qt::LeftButton) {
        const int hit = PointNear(PixelToData(event->localPos()), kPickDistance, "a1");
        if (hit >= 0) {
            dragIndex_ = hit;
            setCursor(Qt::ClosedHandCursor);
            update();
            return;
        }
    }
    if (HasPlotArea()) {
        dragIndex_ = -1;
        setCursor(Qt::ArrowCursor);
    }
    QWidget::mousePressEvent(event);
}

void CurvePlotWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!HasPlotArea()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPointF data = PixelToData(event->localPos());
    if (EditFlag && dragIndex_ != -1) {
        points_[dragIndex_] = QPointF(qBound(xMin_, data.x(), xMax_), qBound(yMin_, data.y(), yMax_));
        update();
        return;
    }
    hoverIndex_ = PointNear(data, kHoverDistance, nullptr);
    update();
    if (hoverIndex_ != -1) return;
    setCursor(Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void CurvePlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    // Ending a drag needs no mapping, so it also happens while the widget is too small to plot.
    if (dragIndex_ != -1) {
        dragIndex_ = -1;
        setCursor(Qt::ArrowCursor);
        update();
    }
    QWidget::mouseReleaseEvent(event);
}

void CurvePlotWidget::paintEvent(QPaintEvent*) {
    if (!HasPlotArea()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawGrid(&painter);
    DrawAxes(&painter);
    DrawCurve(&painter);
    DrawPoints(&painter);
    DrawValueBox(&painter);
}

void CurvePlotWidget::resizeEvent(QResizeEvent*) {
    update();
}

void CurvePlotWidget::DrawGrid(QPainter* painter) {
    painter->save();
    painter->setPen(QPen(QColor(255, 255, 255, 100), 1, Qt::DashLine));
    for (double t : xTicks_) painter->drawLine(DataToPixel({t, yMax_}), DataToPixel({t, yMin_}));
    for (double t : yTicks_) painter->drawLine(DataToPixel({xMin_, t}), DataToPixel({xMax_, t}));
    painter->restore();
}

void CurvePlotWidget::DrawAxes(QPainter* painter) {
    painter->save();
    const QPointF origin = DataToPixel({xMin_, yMin_});
    const QPointF xEnd = DataToPixel({xMax_, yMin_});
    const QPointF yEnd = DataToPixel({xMin_, yMax_});
    painter->setPen(QPen(Qt::white, 2, Qt::SolidLine));
    painter->drawLine(origin, xEnd);
    painter->drawLine(origin, yEnd);

    painter->setPen(QPen(Qt::white, 1));
    QFont font = painter->font();
    font.setPointSize(8);
    painter->setFont(font);
    for (double t : xTicks_) {
        const QPointF p = DataToPixel({t, yMin_});
        painter->drawLine(p, p + QPointF(0, 5));
        painter->drawText(Trunc(p.x() - 15), Trunc(p.y() + 20), QString::number(Trunc(t)));
    }
    for (double t : yTicks_) {
        const QPointF p = DataToPixel({xMin_, t});
        painter->drawLine(p, p + QPointF(-5, 0));
        painter->drawText(Trunc(p.x() - 30), Trunc(p.y() + 5), QString::number(Trunc(t)));
    }
    painter->drawText(Trunc(xEnd.x() * 0.5), Trunc(xEnd.y() + 40), CurveAxisTitleX);

    painter->save();
    painter->translate(Trunc(yEnd.x()), Trunc(yEnd.y() * 0.5));
    painter->rotate(270);
    painter->drawText(Trunc(yEnd.x() - 240), Trunc(yEnd.y() * 0.5 - 80), CurveAxisTitleY);
    painter->restore();
    painter->restore();
}

void CurvePlotWidget::DrawCurve(QPainter* painter) {
    if (points_.size() < 2) return;
    painter->save();
    const QPainterPath curve = BuildSmoothPath(points_);
    QPainterPath area = curve;
    area.lineTo(DataToPixel(points_.last()));
    area.lineTo(DataToPixel({points_.last().x(), yMin_}));
    area.lineTo(DataToPixel({points_.first().x(), yMin_}));
    area.closeSubpath();
    painter->fillPath(area, QColor(255, 192, 203, 100));
    painter->strokePath(curve, QPen(Qt::white, 2, Qt::SolidLine));
    painter->restore();
}

void CurvePlotWidget::DrawPoints(QPainter* painter) {
    painter->save();
    painter->setBrush(Qt::yellow);
    for (int i = 0; i < points_.size(); ++i) {
        painter->setPen(i == dragIndex_ ? QPen(Qt::red, 2) : QPen(Qt::black, 1));
        painter->drawEllipse(DataToPixel(points_[i]).toPoint(), kPointRadius, kPointRadius);
    }
    painter->restore();
}

void CurvePlotWidget::DrawBox(QPainter* painter, const QPointF& point, const QString& text,
                              const QString& measured, int alignment) {
    const QPointF p = DataToPixel(point);
    QRect box = painter->fontMetrics().boundingRect(QRect(), Qt::AlignLeft, measured);
    box.setWidth(120);
    box.setHeight(50);
    box.translate(Trunc(p.x() - 60), Trunc(p.y() - 80));
    box.adjust(-20, -20, 20, 20);
    painter->drawRoundedRect(box, 3, 3, Qt::AbsoluteSize);
    painter->drawText(box, alignment, text);
}

void CurvePlotWidget::DrawValueBox(QPainter* painter) {
    painter->save();
    painter->setPen(Qt::white);
    painter->setBrush(QColor(0, 0, 0, 180));
    QFont font = painter->font();
    font.setPointSize(10);
    painter->setFont(font);
    if (dragIndex_ >= 0 && dragIndex_ < points_.size()) {
        const QString text = ValueText(points_[dragIndex_], "X: %1, Y: %2");
        DrawBox(painter, points_[dragIndex_], text, text, Qt::AlignCenter);
    }
    if (hoverIndex_ >= 0 && hoverIndex_ < points_.size())
        DrawBox(painter, points_[hoverIndex_], ValueText(points_[hoverIndex_], "X: %1\nY: %2"),
                "aaaaaaaaaaaaaa", Qt::AlignLeft | Qt::AlignHCenter | Qt::AlignVCenter);
    painter->restore();
}
