#pragma once
// The serial port component as the windows use it.
#include "VaCustomComm.h"

class TVaComm : public TVaCustomComm {
public:
    using TVaCustomComm::TVaCustomComm;
};
