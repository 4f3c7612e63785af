// Kernel kit: add-on images. Only the image id type: the host stand-in loads
// images with the system's own loader.
#ifndef _IMAGE_H
#define _IMAGE_H

#include <SupportDefs.h>

typedef int32 image_id;

#endif // _IMAGE_H
