/* The whole C interface of the drawing engine. */
#ifndef KORVEX_KXCORE_H
#define KORVEX_KXCORE_H

#include <korvex/kxtypes.h>
#include <korvex/kxordinals.h>
#include <korvex/kxdoc.h>
#include <korvex/kxbuild.h>
#include <korvex/kxclip.h>
#include <korvex/kxdraw.h>
#include <korvex/kxview.h>
#include <korvex/kxtranslator.h>

#endif
