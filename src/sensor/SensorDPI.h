#pragma once
// DPI level panel of the sensor page: up to eight levels side by side, each a level button carrying its
// DPI value and a colour swatch; a marker under the current level, a slider and number box with its
// value, step buttons, a level-count list and a colour dialog. Every user change goes to the device at
// once; a change the device does not take leaves the panel as the device has it.

#include <QColor>
#include <QFrame>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>

class QButtonGroup;
class LevelColorDialog;
class QToolButton;
class Ui_SensorDPI;

class SensorDPI : public QFrame {
    Q_OBJECT
public:
    static constexpr int kLevels = 8;

    explicit SensorDPI(QWidget* parent = nullptr);
    ~SensorDPI() override;

    // Host operations: they show, and never send themselves. Level indexes outside 0..7 change nothing.
    void SetTitleText(const QString& text);
    void SetSliderMinimum(int value);
    void SetSliderMaximum(int value);
    void SetSliderValue(int value);  // slider signals as they stand
    bool BlockSliderSignals(bool block);
    void SetSliderEnabled(bool enabled);
    void EnableSlider();  // enabled, signals open
    void SetSpinValue(int value);
    bool BlockLevelCountSignals(bool block);
    void ClearLevelCountItems();
    void InsertLevelCountItem(int index, const QString& text);
    void SetLevelCountIndex(int index);
    void SetCurrentLevelIndex(int index);
    void MoveLevelMarker(int n);  // n = level + 1, 1 to 8
    void SetLevelText(int index, const QString& text);
    void SetLevelColor(int index, const QString& hashRgb);  // "#rrggbb"
    void SetSelectedSwatch(int index);
    void SetCurrentLevel(int index);
    void ShowLevels(int lastIndex);
    void LoadDriveDefaults();

    // Display routines of the interaction.
    void SelectLevelLayout(int index);
    void ShrinkOtherSwatches(int index);
    void RestyleSwatch(int index);
    void CheckLevelButton(int index);

    int LevelValue(int index) const;  // the level button's text as a number

    int CurrentLevel = 1;
    int PreviousLevel = 1;
    int LevelCountIndex = 0;
    int LevelBeforeCountChange = 0;
    bool SendArmed = false;
    bool MarkerDragging = false;
    QPoint MarkerDragOffset;
    std::array<QString, kLevels> LevelColors;

public slots:
    void SetColor(QColor color);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void on_ChooseEvent_currentIndexChanged(int index);
    void on_horizontalSliderC_valueChanged(int value);
    void on_horizontalSliderC_sliderMoved(int position);
    void on_ReduceLevelA_clicked();
    void on_AddLevelA_clicked();

private:
    void LevelToggled(int index, bool checked);
    void SwatchToggled(int index, bool checked);
    void LevelButtonLook(int index, bool current);
    void SwatchLook(int index, bool current, bool grow);
    // Moves the slider to a level's stored value without sending it; the next change is sent.
    void ShowLevelValue(int value);
    int HeldValue() const;  // the checked level's value, the one the mouse holds
    void MarkerReleased(const QPoint& at);
    int Snap(int value);
    int StepUp(int value) const;
    int StepDown(int value) const;
    QToolButton* LevelButton(int index) const;
    QToolButton* Swatch(int index) const;
    int CheckedLevel() const;

    Ui_SensorDPI* ui;
    QString PictureFolder;
    QButtonGroup* LevelButtonGroup;
    QButtonGroup* SwatchButtonGroup;
    LevelColorDialog* ColorDialog;
    QStringList ButtonColorList;
    QString ButtonTextColor;
    std::array<QRect, kLevels> LevelButtonRects;
    std::array<QRect, kLevels> SwatchRects;
    std::array<QPoint, kLevels> MarkerAnchors;
    QRect MarkerDragArea;
};
