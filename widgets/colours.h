#pragma once

#include <QRgb>

namespace widgets {

// The colours the widgets draw with unless told otherwise.
constexpr QRgb kTextColour = 0xFFFFFFFF;
constexpr QRgb kHoverColour = 0xFF00BCF2;
constexpr QRgb kPressedColour = 0xFF74A3B0;
constexpr QRgb kSwitchFrameColour = 0xFF3E6DB6;
constexpr QRgb kSwitchOffTrackColour = 0xFF2A579A;
constexpr QRgb kSwitchOnTrackColour = 0xFF00BCF2;

// How strongly a disabled widget's picture and caption still show.
constexpr double kDisabledOpacity = 0.4;

} // namespace widgets
