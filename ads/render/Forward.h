#pragma once

namespace pennant {
class AdClickHandler;
class FlexAdViewProtocol;
class FlexTimeBase;
class GradientView;
class ImageView;
class LabelView;
class OldSchoolSingleAdView;
class PagingScrollView;
class PlainView;
class ShineView;
class SingleAdView;
class TouchForwardingView;
template <class Base>
class FlexElement;
template <class Base>
class TouchRecordingElement;
} // namespace pennant
