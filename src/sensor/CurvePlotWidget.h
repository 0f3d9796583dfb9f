#pragma once
// DPI curve plot of the advanced page.

#include <QString>
#include <QWidget>

// Axis titles of every curve plot, set from the language texts.
extern QString CurveAxisTitleX;
extern QString CurveAxisTitleY;

class CurvePlotWidget : public QWidget {
    Q_OBJECT
public:
    explicit CurvePlotWidget(QWidget* parent = nullptr);

    int EditFlag = 0;  // 1 lets the user edit the curve
};
