#pragma once
// Picture folders and style sheets shared by the sensor and advanced panels.

#include <QString>

class QComboBox;
class QWidget;

namespace SensorStyles {

// Installation folder + "/Picture/Sensor/" and + "/Picture/Light/".
QString SensorPictureFolder();
QString LightPictureFolder();
// Installation folder + "/Picture/Advanced/".
QString AdvancedPictureFolder();

// The title marker `button` drawn with the folder's Title.png.
void SetTitleMarker(QWidget* button, const QString& folder);

// "QLabel{color: rgb(<LabelColor>;);}"
QString CaptionSheet();
// The small tips icon drawn with Tips.png.
QString TipsSheet(const QString& folder);
// A drop-down list drawn with the folder's ComboboxBack, Menu, MenuClicked and ComboboxTextBack
// pictures; with dimWhenDisabled a disabled list shows its text in grey, still readable on the dark
// picture.
QString ComboSheet(const QString& folder, bool dimWhenDisabled);
// Gives the list a popup view whose selected and hovered rows take the selection colour.
void InstallPopupView(QComboBox* combo);
// A check box whose indicator is the folder's `unchecked` picture, `checked` while checked; text in
// LabelColor.
QString CheckBoxSheet(const QString& folder, const QString& checked, const QString& unchecked);
// A check box whose indicator is LOD.png, LODCheck.png while checked; text in LabelColor.
QString IndicatorCheckBoxSheet(const QString& folder);
// The thin slider of the alternative panels: handle HuaKuai.png, filled part in SliderColor.
QString ThinSliderSheet(const QString& folder);
// The white slider of the alternative DPI and light panels: handle HuaKuai.png, filled part in SliderColor.
QString WideSliderSheet(const QString& folder);
// A read-only number display on a transparent background, text in the colour of `colourKey`.
QString NumberSheet(const QString& colourKey, bool bordered);

}  // namespace SensorStyles
