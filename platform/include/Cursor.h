// BCursor: a pointer shape. The stand-in offers the predefined shapes, the
// system arrow and the text I-beam, as process-wide constant objects.
#ifndef _CURSOR_H
#define _CURSOR_H

#include <SupportDefs.h>

namespace BPrivate {
class KitAccess;
} // namespace BPrivate

class _IMPEXP_BE BCursor
{
public:
	virtual ~BCursor();

private:
	friend class BPrivate::KitAccess;

	explicit BCursor(int32 shape);
	BCursor(const BCursor&);
	BCursor& operator=(const BCursor&);

	int32 fShape;
};

extern _IMPEXP_BE const BCursor* B_CURSOR_SYSTEM_DEFAULT;
extern _IMPEXP_BE const BCursor* B_CURSOR_I_BEAM;

#endif // _CURSOR_H
