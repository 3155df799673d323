/* Built with nothing but what pkg-config says about the installed library. */
#include <stdio.h>
#include <tevrind.h>

int main(void)
{
    double pO2 = calc_pO2(30.0, 20.0, 60.0, 0.02, 1.0, 0.2, 0.0, 0.0, 0.0, 0.0);
    printf("pO2 %.17g\n", pO2);
    return pO2 > 49.999 && pO2 < 50.001 ? 0 : 1;
}
