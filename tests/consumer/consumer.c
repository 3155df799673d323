/* A C99 host of the installed library: the calibration chain, checked
   against values it must return exactly. */
#include <stdio.h>
#include <tevrind.h>

int main(void)
{
    /* tau0 = 54 at 10 degrees with 1 %/degree is 60 at 20, exactly. */
    double tau0_20 = calc_tau0_20(54.0, 10.0, 0.01);
    double ksv_20 = calc_ksv_20(tau0_20, 30.0, 50.0, 20.0, 1.0, 0.2, 0.0, 0.0, 0.0, 0.0);
    double pO2 = calc_pO2(30.0, 30.0, 60.0, 0.02, 1.0, 0.2, 0.01, 0.01, 0.0, 0.0);
    printf("tau0_20 %.17g, ksv_20 %.17g, pO2 %.17g\n", tau0_20, ksv_20, pO2);
    return tau0_20 == 60.0 && ksv_20 == 0.02 && pO2 == 600.0 / 11.0 ? 0 : 1;
}
