#pragma once
// State of the light page that its panels share: the receiver's light records as last read or
// written, and the last values the device accepted or the page filled in. GUI thread only.

#include <QString>
#include <functional>

class QComboBox;
class QSlider;
class QSpinBox;

#include "hidusb/DeviceReplyRecords.h"

extern DongleLightBar CurrentDongleLightBar;
extern DongleIndicatorLeds CurrentDongleIndicatorLeds;

extern int LastMouseLightMode;
extern int LastDongleLightBarMode;
extern int LastDongleLightBarBrightness;  // level 1..10
extern int LastDongleLightBarSpeed;       // level 1..10
extern int LastLed1Function;
extern int LastLed2Function;
extern int LastLed3Function;

namespace LightState {

// Item 1 of the current model's "Adveanced" list; "-1" when the list has no such item.
QString ReceiverIndicatorSetting();

// Folder of the page's pictures ("Light" or "Sensor"), with a closing slash.
QString PictureFolder(const QString& name);

// The colour style of the product table's "Option" key as "r,g,b".
QString Color(const char* key);

// The combo box style of the light panels, and the style of its list view.
QString ComboSheet(const QString& folder);
QString ComboViewSheet();
// Gives a light panel's combo box its style and a styled list view showing at most 5 items.
void StyleCombo(QComboBox* combo, const QString& folder);
// The style of a colour channel's spin box.
QString ChannelSpinSheet();
// The level slider style.
QString SliderSheet(const QString& folder);
// Styles of a coloured label and of a read-only level box.
QString LabelSheet();
QString LevelBoxSheet();

// A level slider of a mouse panel at release or step: a disabled slider goes back to its box; with
// the gate open, send(value) decides: the box shows the value, or the slider goes back to the box
// and stays disabled until the next fill.
void LevelReleased(QSlider* slider, QSpinBox* box, int value, bool gateOpen,
                   const std::function<bool(int)>& send);
// The same slider while dragged: online the box follows, offline the slider goes back and stays
// disabled.
void LevelMoved(QSlider* slider, QSpinBox* box, int position);

}  // namespace LightState
