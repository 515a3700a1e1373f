#pragma once

namespace animation {

class Layer;
class LayerDelegate;
struct LayerValues;

} // namespace animation
