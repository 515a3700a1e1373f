#pragma once

namespace pennant {
class AdClickHandler;
class OldSchoolSingleAdView;
class SingleAdView;
} // namespace pennant
