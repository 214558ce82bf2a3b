// The GDI+ object layer: include this for the wrapper classes, start-up and
// the late-bound calls (dll.h).
#pragma once

#include "dll.h"
#include "gdip_object.h"
#include "gdip_image.h"
#include "gdip_brush.h"
#include "gdip_shapes.h"
#include "gdip_graphics.h"
