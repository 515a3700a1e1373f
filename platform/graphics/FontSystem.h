#pragma once

#ifndef INSIDE_PLATFORM_GRAPHICS
#error "FontSystem.h belongs to the Pango backend: include it only from platform/graphics"
#endif

// Internal to the graphics library: the font configuration and Pango objects behind Font and
// text drawing. Not for use outside platform/graphics.

#include "platform/graphics/Font.h"
#include "platform/graphics/TextLayoutCache.h"

#include <pango/pangocairo.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

typedef struct _FcConfig FcConfig;

namespace graphics {

// In points; both positive.
struct FontMetrics {
    float ascent;
    float descent;
};

class FontSystem {
public:
    static FontSystem& shared();

    bool hasFamily(std::string_view family);
    FontMetrics metrics(const Font& font);
    // The font's description, owned here; the caller holds the lock while it uses it.
    const PangoFontDescription* describe(const Font& font);

    // Runs fn with the context used for measuring, holding the lock every Pango call takes.
    template <typename Fn>
    auto withMeasuringContext(Fn fn) {
        std::lock_guard guard(mutex_);
        return fn(measuring_);
    }
    // Runs fn with the text laid out for drawing into target, under the same lock. The key's
    // transform is filled in from the target.
    template <typename Fn>
    void withDrawingLayout(cairo_t* target, TextLayoutCache::Key key, Fn fn) {
        std::lock_guard guard(mutex_);
        fn(drawingLayout(target, std::move(key)));
    }

    FontSystem(const FontSystem&) = delete;
    FontSystem& operator=(const FontSystem&) = delete;

private:
    FontSystem();
    PangoContext* createContext() const;
    void collectInstalledFamilies();
    FontMetrics loadMetrics(const Font& font);
    const TextBlock& drawingLayout(cairo_t* target, TextLayoutCache::Key key);

    struct DescriptionFree {
        void operator()(PangoFontDescription* description) const {
            pango_font_description_free(description);
        }
    };
    using Description = std::unique_ptr<PangoFontDescription, DescriptionFree>;

    std::mutex mutex_;
    FcConfig* config_ = nullptr;
    PangoFontMap* fontMap_ = nullptr;
    cairo_font_options_t* options_ = nullptr;
    PangoContext* measuring_ = nullptr;
    // Family names folded by foldFamilyName, so lookups ignore case and blanks.
    std::unordered_set<std::string> installedFamilies_;
    // Looking fonts up goes through fontconfig each time, so what was looked up is kept.
    std::unordered_map<Font, Description> descriptions_;
    std::unordered_map<Font, FontMetrics> metrics_;
    // Text drawn lately, whichever context drew it; guarded by mutex_ like every Pango call.
    TextLayoutCache drawingLayouts_{512, 4 << 20};
};

} // namespace graphics
