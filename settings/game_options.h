// settings/: the middle floor, the portable core of the game settings.
// Includes only platform/ and itself; app/ includes it, panel/ never does.
//
// Behaviour of the Game Options dialog: its load step, "Save And Close",
// the eight "0"/"1" switch buttons and the three volume sliders. The front
// end maps a control's event to the handler of the same name through
// kClicks and kChanges; nothing else of the dialog has behaviour.
//
// Every handler goes to RA2MD.ini afresh through its own Cini object; the
// dialog keeps no copy of the settings. Values flow one way on screen: a
// slider's change writes its number box, never the reverse, and Save stores
// what the boxes hold.
#pragma once

#include <string>

#include "platform/folder.h"
#include "platform/window.h"

namespace core {

class Cini;

class GameOptions {
public:
    // `folder` is the application folder, handed in by start-up. The dialog
    // reaches RA2MD.ini through Cini, over the settings file service.
    GameOptions(platform::Window& window, const platform::Folder& folder);

    // Fills the status labels, sliders, number boxes and resolution box.
    void Form_Load();
    // Save And Close: the three volumes and the screen size, then closes.
    void Command1_Click();

    // "0" switches a row off, "1" on; each writes its key at once.
    void NA_Click();
    void NAo_Click();
    void EVBB_Click();
    void EVBBo_Click();
    void EVS_Click();
    void EVSo_Click();
    void EHR_Click();
    void EHRo_Click();

    // After a slider's value changed: range and steps, then its number box.
    void HScroll1_Change();
    void HScroll2_Change();
    void HScroll3_Change();

    struct Handler {
        const char* control;
        void (GameOptions::*run)();
    };
    static const Handler kClicks[9];   // button presses
    static const Handler kChanges[3];  // scroll bar changes

private:
    struct SwitchRow;
    struct VolumeRow;
    static const SwitchRow kSwitches[4];
    static const VolumeRow kVolumes[3];

    void Point(Cini& ini, const char* section) const;
    void Switch(const SwitchRow& row, bool on);
    void SliderChanged(const VolumeRow& row);

    platform::Window& window_;
    const platform::Folder& folder_;
};

}  // namespace core
