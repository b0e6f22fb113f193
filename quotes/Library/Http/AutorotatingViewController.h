#pragma once

#include "ui/ViewController.h"

// A plain screen that turns with the device in every orientation. The login sheet is presented
// from an invisible one, and is one itself.
class AutorotatingViewController : public ui::ViewController {
public:
    bool shouldAutorotateTo(ui::Orientation) override { return true; }
};
