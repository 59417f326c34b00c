#include "LogFormat.h"

#include "format/Formatting.h"

std::string LogHeaderLine(const std::tm& now, const TRegionalSettings& rs) {
    return std::string(LogHeaderTitle) + DateToStr(now, rs);
}

std::string LogDataLine(double lambda, const std::tm& now, double volts,
                        const TRegionalSettings& rs) {
    return FloatToStr(lambda, rs) + "," + TimeToStr(now, rs) + ", " +
           FloatToStrF(volts, TFloatFormat::ffFixed, 3, 1, rs);
}
