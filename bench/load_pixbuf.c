/* bench-load-pixbuf FILE: gdk-pixbuf's at-scale loader to exactly 400 x 300 once;
   prints milliseconds and the peak resident memory above the resident memory
   before the load, in KiB. */
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <stdio.h>
#include <time.h>

#include "peak_memory.h"

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
    GError* error = NULL;
    GdkPixbuf* pixbuf;
    long before;
    double start, took;
    if (argc != 2) return 2;
    /* Let the loader modules be found and the type system start before timing. */
    g_object_unref(gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 1, 1));
    gdk_pixbuf_get_formats();
    reset_peak_memory();
    before = resident_kib();
    start = now_ms();
    pixbuf = gdk_pixbuf_new_from_file_at_scale(argv[1], 400, 300, FALSE, &error);
    took = now_ms() - start;
    if (!pixbuf || gdk_pixbuf_get_width(pixbuf) != 400 || gdk_pixbuf_get_height(pixbuf) != 300) return 1;
    printf("%.3f %ld\n", took, peak_kib() - before);
    g_object_unref(pixbuf);
    return 0;
}
