#include "app/Classes/ViewController.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/URL.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/View.h"

#include <cmath>
#include <fmt/format.h>

namespace kessa {

namespace {
template <typename T>
bool assign(std::weak_ptr<T>& slot, const std::shared_ptr<ui::InterfaceObject>& object) {
    auto typed = std::dynamic_pointer_cast<T>(object);
    slot = typed;
    return typed != nullptr;
}

audio::SystemSounds::SoundID registerSound(const std::string& name) {
    auto path = foundation::Bundle::main().pathForResource(name, "wav");
    // A missing sound is not checked for: its id simply plays nothing.
    auto url = foundation::URL::fileURLWithPath(path.value_or(name + ".wav"));
    return audio::SystemSounds::shared().createSystemSoundID(url).id;
}
} // namespace

bool ViewController::setOutlet(const std::string& name,
                               const std::shared_ptr<ui::InterfaceObject>& object) {
    if (name == "krazy")
        return assign(krazy_, object);
    if (name == "deletenow")
        return assign(deletenow_, object);
    if (name == "aceelSens")
        return assign(aceelSens_, object);
    return ui::ViewController::setOutlet(name, object);
}

std::function<void()> ViewController::action(const std::string& name) {
    std::weak_ptr<ViewController> weak =
        std::static_pointer_cast<ViewController>(shared_from_this());
    if (name == "change")
        return [weak] {
            if (auto self = weak.lock())
                self->change();
        };
    if (name == "delete")
        return [weak] {
            if (auto self = weak.lock())
                self->resetCount();
        };
    return {};
}

void ViewController::viewDidLoad() {
    sens_ = 2;
    // Green and blue above 1.0 saturate when drawn.
    view()->setBackgroundColor(graphics::Color(0.51f, 2.04f, 2.55f, 0.8f));
    auto& accelerometer = ui::Accelerometer::shared();
    accelerometer.setDelegate(
        std::dynamic_pointer_cast<ui::AccelerometerDelegate>(shared_from_this()));
    accelerometer.setUpdateInterval(static_cast<double>(0.1f));
    auto path = foundation::Bundle::main().pathForResource("redButton2", "png");
    auto image = path ? graphics::Image::fromFile(*path) : nullptr;
    auto stretchable = image ? image->stretchableImage(12, 0) : nullptr;
    if (auto button = deletenow_.lock()) {
        button->setBackgroundImage(stretchable, ui::ControlStateHighlighted);
        button->setBackgroundImage(stretchable, ui::ControlStateNormal);
        button->setBackgroundImage(stretchable, ui::ControlStateSelected);
    }
    soundID_ = registerSound("mywhy");
    soundID2_ = registerSound("zeee");
}

void ViewController::countShake() {
    ++shakeCount_;
    if (auto label = krazy_.lock())
        label->setText(fmt::format("{}", shakeCount_));
}

void ViewController::accelerometerDidAccelerate(ui::Accelerometer&, const ui::Acceleration& a) {
    const float threshold = static_cast<float>(sens_);
    auto passes = [threshold](double value) {
        return std::fabs(static_cast<float>(value)) > threshold;
    };
    auto& sounds = audio::SystemSounds::shared();
    if (passes(a.x)) {
        countShake();
        sounds.playSystemSound(soundID2_);
    } else if (passes(a.y)) {
        countShake();
        sounds.playSystemSound(soundID_);
    } else if (passes(a.z)) {
        sounds.playSystemSound(soundID_);
        countShake();
    }
}

void ViewController::change() {
    auto control = aceelSens_.lock();
    if (!control)
        return;
    switch (control->selectedSegmentIndex()) {
    case 0:
    case 1:
        sens_ = 2;
        break;
    case 2:
        sens_ = 1;
        break;
    default:
        break;
    }
}

void ViewController::resetCount() {
    if (auto label = krazy_.lock())
        label->setText("0");
    shakeCount_ = 0;
}

} // namespace kessa
