// tint_color: lightens towards white below 1, darkens towards black above 1.
// Computed in float and truncated, as the kits do: black tinted by 0.6 gives
// 102 (in double precision it would give 101).
#include <InterfaceDefs.h>

namespace {

uint8 Tint(uint8 component, float tint)
{
	float value;
	if (tint < 1.0f)
		value = 255.0f - float(255 - component) * tint;
	else
		value = float(component) * (2.0f - tint);
	if (value <= 0.0f)
		return 0;
	if (value >= 255.0f)
		return 255;
	return uint8(value);
}

} // namespace

rgb_color tint_color(rgb_color color, float tint)
{
	return rgb_color{Tint(color.red, tint), Tint(color.green, tint), Tint(color.blue, tint),
	                 color.alpha};
}
