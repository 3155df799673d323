// Both public headers, as C++11 and later.
#include <tevrind.h>
#include <tevrind.hpp>

double use(double tau, double temp);
double use(double tau, double temp)
{
    tevrind::Sensor s{};
    s.calibrate_zero(60.0, 20.0);
    s.calibrate(30.0, 100.0, 20.0);
    return s.pO2(tau, temp) + calc_tau0_20(tau, temp, 0.0);
}
