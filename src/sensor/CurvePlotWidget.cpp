#include "sensor/CurvePlotWidget.h"

QString CurveAxisTitleX;
QString CurveAxisTitleY;

CurvePlotWidget::CurvePlotWidget(QWidget* parent) : QWidget(parent) {}
