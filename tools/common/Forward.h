#pragma once

namespace tools {

class CairoPaths;

} // namespace tools
