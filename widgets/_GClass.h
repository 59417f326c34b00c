#pragma once
// Chief header of the instrument widgets' shared base: colours, geometry helpers, settings
// objects, bevel, gradients and the widget base.
#include "AbBase.h"
#include "AbBevel.h"
#include "AbCanvas.h"
#include "AbColors.h"
#include "AbGeometry.h"
#include "AbGradFill.h"
#include "AbGraphicControl.h"
#include "AbAnalogGControl.h"
