#pragma once
// Alternative form of the report-rate panel: one row of check boxes. A failed send puts nothing back,
// and the 8000 Hz box stands outside the exclusive group.

#include <QFrame>
#include <QString>

class QCheckBox;
class QButtonGroup;
class Ui_SensorRateB;

class SensorRateB : public QFrame {
    Q_OBJECT
public:
    explicit SensorRateB(QWidget* parent = nullptr);
    ~SensorRateB() override;

    // Checks the box of the index (0 to 6); sends and announces nothing.
    void SetRate(int index);
    void ShowRates(int mode);
    void SetTitleText(const QString& text);

private slots:
    void on_Button125HZ_clicked(bool checked);
    void on_Button250HZ_clicked(bool checked);
    void on_Button500HZ_clicked(bool checked);
    void on_Button1000HZ_clicked(bool checked);
    void on_Button2000HZ_clicked(bool checked);
    void on_Button4000HZ_clicked(bool checked);
    void on_Button8000HZ_clicked(bool checked);

private:
    void RateClicked(int index, bool checked);
    QCheckBox* Box(int index) const;

    Ui_SensorRateB* ui;
    QString PictureFolder;
    QButtonGroup* RateButtonGroup;
};
