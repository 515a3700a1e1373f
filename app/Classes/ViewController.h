#pragma once

#include "platform/audio/SystemSounds.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <memory>

namespace ui {
class Button;
class Label;
class SegmentedControl;
} // namespace ui

namespace kessa {

// The shaker screen: a sample that exceeds the threshold on one axis counts once and plays a
// sound; the reset button zeroes the count; the segmented control picks the threshold.
class ViewController : public ui::ViewController, public ui::AccelerometerDelegate {
    UI_CREATABLE(ViewController)
    std::string className() const override { return "KessaViewController"; }
    bool setOutlet(const std::string& name,
                   const std::shared_ptr<ui::InterfaceObject>& object) override;
    std::function<void()> action(const std::string& name) override;

    void viewDidLoad() override;
    void accelerometerDidAccelerate(ui::Accelerometer& accelerometer,
                                    const ui::Acceleration& acceleration) override;
    // The segmented control's action: sets the threshold from the chosen segment.
    void change();
    // The reset button's action.
    void resetCount();

    int shakeCount() const { return shakeCount_; }
    int sensitivity() const { return sens_; }

protected:
    ViewController() = default;

private:
    void countShake();

    audio::SystemSounds::SoundID soundID_ = 0;
    audio::SystemSounds::SoundID soundID2_ = 0;
    std::weak_ptr<ui::Label> krazy_;
    std::int32_t shakeCount_ = 0;
    std::weak_ptr<ui::Button> deletenow_;
    std::int32_t sens_ = 0;
    std::weak_ptr<ui::SegmentedControl> aceelSens_;
};

} // namespace kessa
