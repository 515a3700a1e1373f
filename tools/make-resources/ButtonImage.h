#pragma once

#include <string>

namespace resources {

// The reset button's background: a glossy red pill 30 × 44 px whose rounded ends fit in 12 px
// caps, so stretching the column at x = 12 widens it without distorting the corners.
bool writeButtonImage(const std::string& path);

} // namespace resources
