/* The public C header on its own, as C99. */
#include <tevrind.h>

double use(double tau, double temp);
double use(double tau, double temp)
{
    return calc_pO2(tau, temp, 60.0, 0.02, 0.8, 0.2, 0.0, 0.0, 0.0, 0.0) +
           calc_ksv_20(60.0, tau, 100.0, temp, 0.8, 0.2, 0.0, 0.0, 0.0, 0.0) +
           calc_tau0_20(tau, temp, 0.0);
}
