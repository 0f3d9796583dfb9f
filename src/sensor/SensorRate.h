#pragma once
// Report-rate panel of the sensor page: seven exclusive picture buttons, 125 to 8000 Hz. A click sends
// the rate at once; a refused send checks the rate shown before again.

#include <QFrame>
#include <QString>

class QAbstractButton;
class QButtonGroup;
class Ui_SensorRate;

class SensorRate : public QFrame {
    Q_OBJECT
public:
    explicit SensorRate(QWidget* parent = nullptr);
    ~SensorRate() override;

    // Checks the rate of the index (0 to 6) and announces it; sends nothing. Other indexes change nothing.
    void SetRate(int index);
    // Mode 0 hides 2000 to 8000 Hz, 1 shows 2000 and 4000, 2 only 2000, 3 all three; others change nothing.
    void ShowRates(int mode);
    void SetTitleText(const QString& text);

    int CurrentRateIndex = -1;  // rate last set or accepted; -1 before the first

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
    QAbstractButton* Button(int index) const;

    Ui_SensorRate* ui;
    QString PictureFolder;
    QButtonGroup* RateButtonGroup;
};
