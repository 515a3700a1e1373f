#pragma once

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Control.h"

#include <map>
#include <optional>

namespace graphics {
class Image;
}

namespace ui {

// A custom-type button: per state a title, title colour, title shadow colour, background
// image and image; a state without its own value uses the normal state's.
class Button : public Control {
    UI_CREATABLE(Button)
    std::string className() const override { return "Button"; }
    void configure(const foundation::Value& description) override;
    std::optional<std::string> dumpText() const override { return currentTitle(); }

    void setTitle(const std::string& title, unsigned state);
    void setTitleColor(const graphics::Color& color, unsigned state);
    void setTitleShadowColor(const graphics::Color& color, unsigned state);
    void setBackgroundImage(std::shared_ptr<graphics::Image> image, unsigned state);
    void setImage(std::shared_ptr<graphics::Image> image, unsigned state);

    std::string titleForState(unsigned state) const;
    graphics::Color titleColorForState(unsigned state) const;
    std::optional<graphics::Color> titleShadowColorForState(unsigned state) const;
    std::shared_ptr<graphics::Image> backgroundImageForState(unsigned state) const;
    std::shared_ptr<graphics::Image> imageForState(unsigned state) const;
    std::string currentTitle() const { return titleForState(state()); }

    const graphics::Font& font() const { return font_; }
    void setFont(const graphics::Font& font);
    graphics::EdgeInsets titleEdgeInsets() const { return titleEdgeInsets_; }
    void setTitleEdgeInsets(graphics::EdgeInsets insets) { titleEdgeInsets_ = insets; }

    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit Button(const graphics::Rect& frame = {});

private:
    struct StateLook {
        std::optional<std::string> title;
        std::optional<graphics::Color> titleColor;
        std::optional<graphics::Color> titleShadowColor;
        std::shared_ptr<graphics::Image> backgroundImage;
        std::shared_ptr<graphics::Image> image;
    };
    template <typename Get>
    auto lookup(unsigned state, Get get) const -> decltype(get(StateLook{}));

    std::map<unsigned, StateLook> looks_;
    graphics::Font font_;
    graphics::EdgeInsets titleEdgeInsets_;
};

} // namespace ui
