#pragma once
// Alternative form of the DPI level panel: one row per level with a colour swatch, a DPI slider, its
// number and a check box for the current level; a level-count list hides the unused rows. Host setters
// only show; every user change is sent at once, and a failed send puts nothing back.

#include <QColor>
#include <QFrame>
#include <QString>
#include <array>

class QButtonGroup;
class QCheckBox;
class LevelColorDialog;
class QSlider;
class QSpinBox;
class QToolButton;
class Ui_SensorDPIB;

class SensorDPIB : public QFrame {
    Q_OBJECT
public:
    static constexpr int kLevels = 8;

    explicit SensorDPIB(QWidget* parent = nullptr);
    ~SensorDPIB() override;

    void SetTitleText(const QString& text);
    void InsertLevelCountItem(int index, const QString& text);
    void ClearLevelCountItems();
    bool BlockLevelCountSignals(bool block);
    void SetLevelCountIndex(int index);
    void BlockSliderSignals(bool block);
    void SetSliderEnabled(bool enabled);
    void SetSliderMinimum(int value);
    void SetSliderMaximum(int value);
    void SetSliderValue(int value, int level);
    void SetSpinValue(int value, int level);
    void SetLevelValue(int level, const QString& dpi);
    void SetLevelColor(int level, const QString& colour);  // "#rrggbb", shown at the next restyle
    void RestyleAllSwatches();
    void SetPresetSwatchColors();
    void SetCurrentLevelIndex(int level);
    void SetCurrentLevel(int level);
    void CheckLevelButton(int level);
    void ShowLevels(int lastIndex);

    int CurrentLevel = 1;
    int LevelBeforeCountChange = 0;
    int ColorEditLevel = 0;
    std::array<QString, kLevels> LevelColors;

public slots:
    void SetColor(QColor color);

private slots:
    void on_ChooseEvent_currentIndexChanged(int index);

private:
    void SliderReleased(int level, int value);
    void LevelChecked(int level, bool checked);
    void RestyleSwatch(int level, const QString& colour);
    QSlider* Slider(int level) const;
    QSpinBox* Number(int level) const;
    QCheckBox* Box(int level) const;
    QToolButton* Swatch(int level) const;

    Ui_SensorDPIB* ui;
    LevelColorDialog* ColorDialog;
    QString PictureFolder;
    QButtonGroup* LevelButtonGroup;
};
