/* Takes the end-to-end tests' screenshots and reads what the tests look for in them, each in
 * one short process: a pixel's colour, or where a colour is. The same work through ImageMagick
 * and Python took up to a second per screenshot and per question, CPU taken from the game under
 * test, which then fell behind on a loaded machine.
 *
 *   shotprobe grab FILE
 *       writes the whole screen of $DISPLAY to FILE as a binary PPM (no compression to wait for)
 *   shotprobe pixel FILE X Y
 *       prints "r g b" (0..255) of the pixel at X Y
 *   shotprobe centre FILE WxH+X+Y R G B FUZZ LEFT
 *       looks inside the box for pixels within FUZZ percent of R G B, counting
 *       only those right of fraction LEFT of the box's width; prints "fx fy count", the centre of
 *       those pixels as fractions of the box (0 0 0 when there are none). FUZZ is a percentage of
 *       the distance from black to white in RGB, so a value means what it means to ImageMagick's
 *       -fuzz, which earlier versions of the tests used
 *
 * Exit status 2 on bad arguments or an unreadable file, with a message. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stb_image.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int usage(void) {
    fprintf(stderr,
            "usage: shotprobe grab FILE\n"
            "       shotprobe pixel FILE X Y\n"
            "       shotprobe centre FILE WxH+X+Y R G B FUZZ LEFT\n");
    return 2;
}

/* Where a channel sits in a pixel: its shift and its largest value. */
typedef struct {
    int shift;
    unsigned long top;
} Channel;

static Channel channel_of(unsigned long mask) {
    Channel c = {0, 0};
    if (!mask) return c;
    while (!((mask >> c.shift) & 1)) ++c.shift;
    c.top = mask >> c.shift;
    return c;
}

/* 0..255 from a pixel's channel, whatever the channel's width. */
static unsigned char channel(unsigned long pixel, Channel c) {
    return c.top ? (unsigned char)(((pixel >> c.shift) & c.top) * 255 / c.top) : 0;
}

static int grab(const char* path) {
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "shotprobe: cannot open the display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    XImage* image =
        XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    int status = 2;
    FILE* out = image ? fopen(path, "wb") : NULL;
    unsigned char* row = out ? malloc((size_t)image->width * 3) : NULL;
    if (!image) {
        fprintf(stderr, "shotprobe: cannot read the screen\n");
    } else if (!out || !row) {
        fprintf(stderr, "shotprobe: cannot write %s\n", path);
    } else {
        const Channel red = channel_of(image->red_mask), green = channel_of(image->green_mask),
                      blue = channel_of(image->blue_mask);
        fprintf(out, "P6\n%d %d\n255\n", image->width, image->height);
        for (int y = 0; y < image->height; ++y) {
            for (int x = 0; x < image->width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                row[3 * x] = channel(pixel, red);
                row[3 * x + 1] = channel(pixel, green);
                row[3 * x + 2] = channel(pixel, blue);
            }
            fwrite(row, 3, (size_t)image->width, out);
        }
        status = ferror(out) ? 2 : 0;
        if (status) fprintf(stderr, "shotprobe: cannot write %s\n", path);
    }
    free(row);
    if (out && fclose(out) != 0) status = 2;
    if (image) XDestroyImage(image);
    XCloseDisplay(display);
    return status;
}

/* The image reader fills a binary PPM cut short with zeros, which reads as black: the file must
   hold every pixel its header promises. */
static int ppm_complete(const char* path) {
    FILE* in = fopen(path, "rb");
    if (!in) return 0;
    int w = 0, h = 0, max = 0, complete = 1;
    if (fscanf(in, "P6 %d %d %d", &w, &h, &max) == 3 && fgetc(in) != EOF) {
        long start = ftell(in);
        fseek(in, 0, SEEK_END);
        complete = ftell(in) - start >= (long)w * h * (max > 255 ? 6 : 3);
    }
    fclose(in);
    return complete;
}

static unsigned char* load(const char* path, int* w, int* h) {
    int channels = 0;
    unsigned char* rgb = stbi_load(path, w, h, &channels, 3);
    if (!rgb) {
        fprintf(stderr, "shotprobe: cannot read %s: %s\n", path, stbi_failure_reason());
    } else if (!ppm_complete(path)) {
        fprintf(stderr, "shotprobe: %s is cut short\n", path);
        stbi_image_free(rgb);
        rgb = NULL;
    }
    return rgb;
}

static int pixel(const char* path, int x, int y) {
    int w = 0, h = 0;
    unsigned char* rgb = load(path, &w, &h);
    if (!rgb) return 2;
    if (x < 0 || y < 0 || x >= w || y >= h) {
        fprintf(stderr, "shotprobe: %d %d is outside the %dx%d picture %s\n", x, y, w, h, path);
        stbi_image_free(rgb);
        return 2;
    }
    const unsigned char* p = rgb + 3 * ((size_t)y * w + x);
    printf("%d %d %d\n", p[0], p[1], p[2]);
    stbi_image_free(rgb);
    return 0;
}

static int clamp(int v, int lo, int hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

static int centre(const char* path, const char* box, const int want[3], double fuzz, double left) {
    int bw = 0, bh = 0, bx = 0, by = 0;
    if (sscanf(box, "%dx%d+%d+%d", &bw, &bh, &bx, &by) != 4 || bw <= 0 || bh <= 0) {
        fprintf(stderr, "shotprobe: bad box %s (expected WxH+X+Y)\n", box);
        return 2;
    }
    int w = 0, h = 0;
    unsigned char* rgb = load(path, &w, &h);
    if (!rgb) return 2;
    const int x0 = clamp(bx, 0, w), y0 = clamp(by, 0, h);
    const int x1 = clamp(bx + bw, 0, w), y1 = clamp(by + bh, 0, h);
    int from = x0; /* the first column at least LEFT of the box's width from its edge */
    while (from < x1 && from - bx < left * bw) ++from;
    const double limit = fuzz / 100.0 * 255.0;
    const double limit2 = 3.0 * limit * limit; /* black to white is 255 * sqrt(3) */
    double sx = 0, sy = 0;
    long n = 0;
    for (int y = y0; y < y1; ++y) {
        const unsigned char* p = rgb + 3 * ((size_t)y * w + from);
        for (int x = from; x < x1; ++x, p += 3) {
            const double dr = p[0] - want[0], dg = p[1] - want[1], db = p[2] - want[2];
            if (dr * dr + dg * dg + db * db <= limit2) {
                sx += x - x0;
                sy += y - y0;
                ++n;
            }
        }
    }
    stbi_image_free(rgb);
    const double d = n > 0 ? (double)n : 1.0;
    printf("%.4f %.4f %ld\n", sx / d / bw, sy / d / bh, n);
    return 0;
}

/* A whole number or a decimal, or nothing at all: a typo must not read as 0. */
static int number(const char* text, double* out) {
    char* end = NULL;
    *out = strtod(text, &end);
    if (end == text || *end != '\0') {
        fprintf(stderr, "shotprobe: not a number: %s\n", text);
        return 0;
    }
    return 1;
}

int main(int argc, char** argv) {
    double v[6];
    if (argc == 3 && strcmp(argv[1], "grab") == 0) return grab(argv[2]);
    if (argc == 5 && strcmp(argv[1], "pixel") == 0) {
        if (!number(argv[3], &v[0]) || !number(argv[4], &v[1])) return 2;
        return pixel(argv[2], (int)v[0], (int)v[1]);
    }
    if (argc == 9 && strcmp(argv[1], "centre") == 0) {
        for (int i = 0; i < 5; ++i)
            if (!number(argv[4 + i], &v[i])) return 2;
        const int want[3] = {(int)v[0], (int)v[1], (int)v[2]};
        return centre(argv[2], argv[3], want, v[3], v[4]);
    }
    return usage();
}
