#include "platform/graphics/FontSystem.h"

#include "platform/foundation/ASCII.h"
#include "platform/graphics/Font.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cctype>

namespace graphics {

// fonts/fonts.conf, compiled in by the build so no file has to be found at run time.
extern const char* const embeddedFontsConfig;

namespace {

std::string foldFamilyName(std::string_view name) {
    std::string folded;
    for (char ch : name)
        if (ch != ' ')
            folded += foundation::ASCII::lowercased(ch);
    return folded;
}

// Shrinking text to fit tries many sizes; a bound keeps that from growing a cache forever.
template <typename Map>
void forgetAllOnceFull(Map& map) {
    constexpr std::size_t limit = 512;
    if (map.size() >= limit)
        map.clear();
}

} // namespace

FontSystem& FontSystem::shared() {
    // Never destroyed: fonts may still be in use while other statics are torn down.
    static FontSystem* instance = new FontSystem();
    return *instance;
}

FontSystem::FontSystem() {
    // A private configuration instead of the machine's: only the fonts we ship metrics for.
    config_ = FcConfigCreate();
    FcConfigParseAndLoadFromMemory(config_, reinterpret_cast<const FcChar8*>(embeddedFontsConfig),
                                   FcTrue);
    FcConfigBuildFonts(config_);
    collectInstalledFamilies();

    fontMap_ = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap_), config_);

    options_ = cairo_font_options_create();
    cairo_font_options_set_hint_style(options_, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options_, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options_, CAIRO_ANTIALIAS_GRAY);
    measuring_ = createContext();
}

void FontSystem::collectInstalledFamilies() {
    FcPattern* all = FcPatternCreate();
    FcObjectSet* families = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(config_, all, families);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &family) == FcResultMatch;
             ++n)
            installedFamilies_.insert(foldFamilyName(reinterpret_cast<const char*>(family)));
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(families);
    FcPatternDestroy(all);
}

PangoContext* FontSystem::createContext() const {
    PangoContext* context = pango_font_map_create_context(fontMap_);
    // 72 dpi makes one Pango point one of our points.
    pango_cairo_context_set_resolution(context, 72);
    pango_cairo_context_set_font_options(context, options_);
    pango_context_set_round_glyph_positions(context, FALSE);
    pango_context_set_language(context, pango_language_from_string("en"));
    pango_context_set_base_dir(context, PANGO_DIRECTION_LTR);
    return context;
}

// A family exists when it is installed or the configuration aliases it to one that is; the
// configuration appends no catch-all family, so unknown names find nothing.
bool FontSystem::hasFamily(std::string_view family) {
    std::lock_guard guard(mutex_);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(std::string(family).c_str()));
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    bool found = false;
    FcChar8* candidate = nullptr;
    for (int n = 0;
         !found && FcPatternGetString(pattern, FC_FAMILY, n, &candidate) == FcResultMatch; ++n)
        found =
            installedFamilies_.contains(foldFamilyName(reinterpret_cast<const char*>(candidate)));
    FcPatternDestroy(pattern);
    return found;
}

const PangoFontDescription* FontSystem::describe(const Font& font) {
    auto found = descriptions_.find(font);
    if (found != descriptions_.end())
        return found->second.get();
    forgetAllOnceFull(descriptions_);
    Description description(pango_font_description_new());
    pango_font_description_set_family(description.get(), font.familyName().c_str());
    pango_font_description_set_weight(description.get(),
                                      font.isBold() ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description.get(),
                                     font.isItalic() ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(description.get(), font.pointSize() * PANGO_SCALE);
    return descriptions_.emplace(font, std::move(description)).first->second.get();
}

FontMetrics FontSystem::metrics(const Font& font) {
    std::lock_guard guard(mutex_);
    auto found = metrics_.find(font);
    if (found != metrics_.end())
        return found->second;
    forgetAllOnceFull(metrics_);
    return metrics_.emplace(font, loadMetrics(font)).first->second;
}

FontMetrics FontSystem::loadMetrics(const Font& font) {
    PangoFont* loaded = pango_context_load_font(measuring_, describe(font));
    PangoFontMetrics* metrics = pango_font_get_metrics(loaded, nullptr);
    FontMetrics result{float(pango_font_metrics_get_ascent(metrics)) / PANGO_SCALE,
                       float(pango_font_metrics_get_descent(metrics)) / PANGO_SCALE};
    pango_font_metrics_unref(metrics);
    g_object_unref(loaded);
    return result;
}

const TextBlock& FontSystem::drawingLayout(cairo_t* target, TextLayoutCache::Key key) {
    cairo_matrix_t matrix;
    cairo_get_matrix(target, &matrix);
    key.linearTransform = {matrix.xx, matrix.yx, matrix.xy, matrix.yy};
    if (const TextBlock* kept = drawingLayouts_.find(key))
        return *kept;
    PangoContext* context = createContext();
    pango_cairo_update_context(target, context);
    auto block = std::make_unique<TextBlock>(context, key.text, key.font, key.constraint, key.mode,
                                             key.alignment);
    // The block's layout holds its own reference to the context.
    g_object_unref(context);
    return drawingLayouts_.keep(std::move(key), std::move(block));
}

} // namespace graphics
