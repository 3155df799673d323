/*
 * tevrind demo host.
 *
 * Does what an instrument program does with the library: loads it at run
 * time by its file name, looks up the three functions, refers the sensor's
 * zero-oxygen lifetime to 20 degrees, calibrates the quenching constant from
 * one point in air, and converts a series of (lifetime, temperature) readings
 * into oxygen partial pressures.
 *
 *     tevrind_demo [--library PATH] [READINGS.csv]
 *
 * Without a file it uses readings built in.  A readings file has one reading
 * a line, "lifetime,temperature" in microseconds and degrees Celsius; blank
 * lines and lines starting with '#' are skipped.  The library is looked for
 * under its usual file name (libtevrind.so.1, tevrind.dll) where the system's
 * loader looks, or at the path in --library or in TEVRIND_LIBRARY.
 */
#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#  define WIN32_LEAN_AND_MEAN
#  include <windows.h>
#  define DEFAULT_LIBRARY "tevrind.dll"
#else
#  include <dlfcn.h>
#  define DEFAULT_LIBRARY "libtevrind.so.1"
#endif

typedef double (*tau0_20_fn)(double tau0, double temp, double tc_tau0);
typedef double (*pO2_fn)(double tau, double temp, double tau0_20, double ksv_20,
                         double frac_20, double m_20, double tc_ksv,
                         double tc_tau0, double tc_m, double tc_frac);
typedef double (*ksv_20_fn)(double tau0_20, double tau, double pO2, double temp,
                            double frac_20, double m_20, double tc_ksv,
                            double tc_tau0, double tc_m, double tc_frac);

struct library {
    tau0_20_fn calc_tau0_20;
    pO2_fn calc_pO2;
    ksv_20_fn calc_ksv_20;
};

/* The sample sensor: its constants and the two measurements that set it up. */
struct sensor {
    double frac_20, m_20, tc_ksv, tc_tau0, tc_m, tc_frac;
    double zero_tau, zero_temp;                /* lifetime with no oxygen */
    double cal_tau, cal_pO2, cal_temp;         /* lifetime in air */
};

static const struct sensor sample_sensor = {
    0.83, 0.09, 0.0085, -0.0021, 0.0004, 0.0,
    58.2, 24.6,
    21.0, 212.3, 22.0,
};

struct reading {
    double tau, temp;
};

static const struct reading sample_readings[] = {
    {58.6, 20.0}, {52.0, 20.0}, {44.0, 21.0}, {36.5, 22.0}, {28.0, 24.0},
    {21.0, 22.0}, {16.5, 25.0}, {12.0, 30.0}, {45.0, 5.0},  {45.0, 35.0},
};

#define MAX_READINGS 100000
#define MAX_LINE 1024

/* --- Loading the library ------------------------------------------------ */

#ifdef _WIN32
static int load_library(const char *path, struct library *lib)
{
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        fprintf(stderr, "tevrind_demo: cannot load %s (error %lu)\n", path,
                (unsigned long)GetLastError());
        return 0;
    }
    /* Through void (*)(void), the one cast between function pointer types
       that compilers take without a warning. */
    lib->calc_tau0_20 = (tau0_20_fn)(void (*)(void))GetProcAddress(module, "calc_tau0_20");
    lib->calc_pO2 = (pO2_fn)(void (*)(void))GetProcAddress(module, "calc_pO2");
    lib->calc_ksv_20 = (ksv_20_fn)(void (*)(void))GetProcAddress(module, "calc_ksv_20");
    return 1;
}
#else
static int load_library(const char *path, struct library *lib)
{
    void *handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    void *p;
    if (!handle) {
        fprintf(stderr, "tevrind_demo: cannot load %s: %s\n", path, dlerror());
        return 0;
    }
    /* ISO C has no cast from void * to a function pointer; POSIX guarantees
       that the bits carry over. */
    p = dlsym(handle, "calc_tau0_20");
    memcpy(&lib->calc_tau0_20, &p, sizeof p);
    p = dlsym(handle, "calc_pO2");
    memcpy(&lib->calc_pO2, &p, sizeof p);
    p = dlsym(handle, "calc_ksv_20");
    memcpy(&lib->calc_ksv_20, &p, sizeof p);
    return 1;
}
#endif

/* --- Reading the readings file ------------------------------------------- */

/* Parses one number at *s, skipping blanks around it; 0 if there is none or
   it is not a finite double. */
static int parse_number(const char **s, double *out)
{
    char *end;
    while (**s == ' ' || **s == '\t')
        ++*s;
    errno = 0;
    *out = strtod(*s, &end);
    if (end == *s || errno == ERANGE || !isfinite(*out))
        return 0;
    *s = end;
    while (**s == ' ' || **s == '\t')
        ++*s;
    return 1;
}

/* Parses "lifetime,temperature"; returns NULL or what is wrong with it. */
static const char *parse_reading(const char *line, struct reading *r)
{
    const char *s = line;
    if (!parse_number(&s, &r->tau) || *s++ != ',' || !parse_number(&s, &r->temp))
        return "expected 'lifetime,temperature', two numbers";
    s += strspn(s, "\r\n");
    if (*s != '\0')
        return "expected 'lifetime,temperature', two numbers";
    if (!(r->tau > 0.0))
        return "the lifetime must be positive";
    return NULL;
}

static int is_blank_or_comment(const char *line)
{
    while (*line == ' ' || *line == '\t')
        ++line;
    return *line == '#' || *line == '\n' || *line == '\r' || *line == '\0';
}

/* Reads all readings of a file; returns their number, or -1 after a message
   naming the file and line of the first problem. */
static long read_readings(const char *path, struct reading **out)
{
    FILE *f = fopen(path, "r");
    char line[MAX_LINE];
    long count = 0, capacity = 0, lineno = 0;
    struct reading *readings = NULL;
    const char *problem = NULL;

    if (!f) {
        fprintf(stderr, "tevrind_demo: cannot open %s: %s\n", path, strerror(errno));
        return -1;
    }
    while (fgets(line, sizeof line, f)) {
        struct reading r;
        ++lineno;
        if (!strchr(line, '\n') && !feof(f)) {
            problem = "line too long";
            break;
        }
        if (is_blank_or_comment(line))
            continue;
        problem = parse_reading(line, &r);
        if (problem)
            break;
        if (count == MAX_READINGS) {
            problem = "too many readings";
            break;
        }
        if (count == capacity) {
            long grown = capacity ? capacity * 2 : 64;
            struct reading *bigger;
            if (grown > MAX_READINGS)
                grown = MAX_READINGS;
            bigger = realloc(readings, (size_t)grown * sizeof *readings);
            if (!bigger) {
                problem = "out of memory";
                break;
            }
            readings = bigger;
            capacity = grown;
        }
        readings[count++] = r;
    }
    if (!problem && ferror(f)) {
        fprintf(stderr, "tevrind_demo: error reading %s\n", path);
        problem = "";
    } else if (problem) {
        size_t n = strcspn(line, "\r\n");
        fprintf(stderr, "tevrind_demo: %s:%ld: %s: \"%.*s\"\n", path, lineno, problem,
                (int)(n > 60 ? 60 : n), line);
    } else if (count == 0) {
        fprintf(stderr, "tevrind_demo: %s: no readings\n", path);
        problem = "";
    }
    fclose(f);
    if (problem) {
        free(readings);
        return -1;
    }
    *out = readings;
    return count;
}

/* --- The host's chain ----------------------------------------------------- */

static void usage(FILE *to)
{
    fprintf(to, "usage: tevrind_demo [--library PATH] [READINGS.csv]\n"
                "  READINGS.csv: one 'lifetime_us,temperature_C' a line, '#' comments\n");
}

int main(int argc, char **argv)
{
    const char *library_path = getenv("TEVRIND_LIBRARY");
    const char *readings_path = NULL;
    const struct sensor *s = &sample_sensor;
    struct library lib;
    struct reading *readings = NULL;
    const struct reading *rows = sample_readings;
    long count = (long)(sizeof sample_readings / sizeof sample_readings[0]);
    double tau0_20, ksv_20;
    long i;

    for (i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--library") == 0 && i + 1 < argc) {
            library_path = argv[++i];
        } else if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
            usage(stdout);
            return 0;
        } else if (argv[i][0] == '-' || readings_path) {
            usage(stderr);
            return 2;
        } else {
            readings_path = argv[i];
        }
    }
    if (!library_path || !*library_path)
        library_path = DEFAULT_LIBRARY;

    if (readings_path) {
        count = read_readings(readings_path, &readings);
        if (count < 0)
            return 1;
        rows = readings;
    }
    if (!load_library(library_path, &lib))
        return 1;
    if (!lib.calc_tau0_20 || !lib.calc_pO2 || !lib.calc_ksv_20) {
        fprintf(stderr, "tevrind_demo: %s does not export calc_tau0_20, calc_pO2 "
                        "and calc_ksv_20\n", library_path);
        return 1;
    }

    /* 1. The zero-oxygen lifetime, referred to 20 degrees. */
    tau0_20 = lib.calc_tau0_20(s->zero_tau, s->zero_temp, s->tc_tau0);
    /* 2. The quenching constant from one point in air. */
    ksv_20 = lib.calc_ksv_20(tau0_20, s->cal_tau, s->cal_pO2, s->cal_temp, s->frac_20,
                             s->m_20, s->tc_ksv, s->tc_tau0, s->tc_m, s->tc_frac);

    printf("tevrind demo, library %s\n\n", library_path);
    printf("Sensor: frac_20 %.3f, m_20 %.3f, tc_ksv %.4f/C, tc_tau0 %.4f/C, "
           "tc_m %.4f/C, tc_frac %.4f/C\n",
           s->frac_20, s->m_20, s->tc_ksv, s->tc_tau0, s->tc_m, s->tc_frac);
    printf("Zero oxygen:  %7.3f us at %5.1f C  ->  tau0_20 = %.4f us\n",
           s->zero_tau, s->zero_temp, tau0_20);
    printf("Calibration:  %7.3f us at %5.1f C, %.1f hPa  ->  ksv_20 = %.6f 1/hPa\n\n",
           s->cal_tau, s->cal_temp, s->cal_pO2, ksv_20);

    /* 3. Every reading converted to a partial pressure. */
    printf("%7s  %14s  %10s  %12s\n", "reading", "lifetime [us]", "temp [C]", "pO2 [hPa]");
    for (i = 0; i < count; ++i) {
        double pO2 = lib.calc_pO2(rows[i].tau, rows[i].temp, tau0_20, ksv_20, s->frac_20,
                                  s->m_20, s->tc_ksv, s->tc_tau0, s->tc_m, s->tc_frac);
        printf("%7ld  %14.3f  %10.1f  %12.2f\n", i + 1, rows[i].tau, rows[i].temp, pO2);
    }
    free(readings);
    return 0;
}
