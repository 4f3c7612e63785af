// The Interface Kit's predefined patterns and transparent colours.
#include <GraphicsDefs.h>

const pattern B_SOLID_HIGH = {{0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}};
const pattern B_SOLID_LOW = {{0, 0, 0, 0, 0, 0, 0, 0}};

const rgb_color B_TRANSPARENT_COLOR = {0x77, 0x74, 0x77, 0x00};
