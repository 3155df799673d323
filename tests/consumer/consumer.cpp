// A C++11 host of the installed library, through tevrind.hpp: the same
// bits as the C calls.
#include <cstdio>
#include <tevrind.hpp>

int main()
{
    tevrind::Sensor sensor{};
    sensor.constants.frac_20 = 0.83;
    sensor.constants.m_20 = 0.09;
    sensor.constants.tc_ksv = 0.0085;
    sensor.constants.tc_tau0 = -0.0021;
    sensor.constants.tc_m = 0.0004;
    sensor.constants.tc_frac = 0.0;
    sensor.calibrate_zero(58.2, 24.6);
    sensor.calibrate(21.0, 212.3, 22.0);
    const double p = sensor.pO2(36.5, 22.0);

    const double tau0_20 = calc_tau0_20(58.2, 24.6, -0.0021);
    const double ksv_20 =
        calc_ksv_20(tau0_20, 21.0, 212.3, 22.0, 0.83, 0.09, 0.0085, -0.0021, 0.0004, 0.0);
    const double c = calc_pO2(36.5, 22.0, tau0_20, ksv_20, 0.83, 0.09, 0.0085, -0.0021, 0.0004, 0.0);
    std::printf("pO2 %.17g (C++) %.17g (C)\n", p, c);
    return p == c && sensor.tau0_20 == tau0_20 && sensor.ksv_20 == ksv_20 ? 0 : 1;
}
