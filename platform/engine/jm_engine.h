/*
 * JmEngine — the colour engine.
 *
 * The tool hands us its whole colour-data set (setDataTable) and then asks
 * either for a simulated picture (one of the twenty-one image functions) or for
 * the curve markers and strobe sums of its curve editors. Everything the engine
 * needs is copied out of the set and turned into lookup tables at
 * setDataTable; the image functions only look values up, on every core of the
 * machine.
 *
 * -------------------------------------------------------------------------
 * The data set (37,124 bytes, words signed 16-bit little-endian)
 * -------------------------------------------------------------------------
 * A curve table is 256 points x 4 planes (Y, M, C, OP), the point index
 * fastest: the word of point i, plane p sits at byte 2i + 512p of the table.
 * Bit 15 of a curve word marks an edited node of the curve; the engine masks
 * it off and uses bits 0-14 as the value (0..10000 is the edited range). The
 * offsets below are those of the set the tool passes; JM_OFF_* name them.
 *
 * -------------------------------------------------------------------------
 * The model
 * -------------------------------------------------------------------------
 * Levels. A pixel 0xAARRGGBB carries three ink levels: Y = 255 - blue,
 * M = 255 - green, C = 255 - red (0 = no ink, 255 = full ink). A simulated
 * picture is drawn back the same way (blue = 255 - Y', ...); the alpha byte of
 * the picture is kept.
 *
 * Curve lookup. Curve table T maps level i of plane p to
 *     T_p(i) = min(255, (value(i, p) * 255 + 5000) / 10000)
 * i.e. value scaled from 0..10000 to 0..255, halves rounded up. "T then U"
 * below means U_p(T_p(i)).
 *
 * Chains of one family (gamma, then theta, then epsilon):
 *     Cchain = C_Gamma then C_Theta then C_Epsilon
 *     Gchain = G_Gamma then G_Theta then G_Epsilon
 *     Ichain = I_Gamma then I_Theta then I_Epsilon
 *
 * Weighted correction. A correction table K weighted by a coefficient table W
 * moves level d towards K_p(d) by W_p(d)/255 of the way:
 *     corr(d) = d + round((K_p(d) - d) * W_p(d) / 255)
 *     head(d)   = corr with K = HeadTemp,      W = TempCoef
 *     media(d)  = corr with K = MediaTemp,     W = TempCoef
 *     humid(d)  = corr with K = MediaHumidity, W = HumidityCoef
 *
 * Energy window. E_Gamma turns a level d into an energy e = value(d, p)
 * (0..10000 scale). The ribbon only responds between the plane's start level
 * S and end level E (the E gamma range): below S nothing prints, above E the
 * dot is full. The printed level is
 *     energy(d) = E_Epsilon_p(round((clamp(e, S, E) - S) * 255 / (E - S)))
 * and, when E <= S, 255 for e >= S and 0 below (a hard step).
 *
 * Separations draw one plane's ink on white: for plane Y only blue carries
 * 255 - Y', red and green stay 255 (M: green, C: red).
 *
 * The image functions:
 *   cGammaTempY/M/C  separation of Y/M/C through C_Gamma then head
 *   gGammaTempY/M/C  separation of Y/M/C through G_Gamma then media
 *   cGammaDisp       every plane through C_Gamma
 *   gGammaDisp       every plane through G_Gamma
 *   cgGammaDisp      C_Gamma then G_Gamma
 *   ccgGammaDisp     Cchain then Gchain
 *   iGammaImpY/M/C   separation of Y/M/C through I_Gamma
 *   iGammaDisp       every plane through I_Gamma
 *   ciGammaDisp      every plane through Ichain
 *   oGammaDisp       G_Gamma, then the G Omega kernel
 *   coGammaDisp      Cchain then G_Gamma, then the G Omega kernel
 *   dGammaDisp       G_Gamma, then the G Delta thermal-history step
 *   cdGammaDisp      Cchain then G_Gamma, then the G Delta step
 *   pDataSim         what the printer prints: Cchain, Gchain, Ichain, head,
 *                    media, humid, energy — every curve table but STB_Gamma
 *   hDataSim         the head's strobe time per pixel as grey: each plane's
 *                    print level (as pDataSim) through STB_Gamma, s_p; the
 *                    pixel is grey g = 255 - (s_Y + s_M + s_C + 1) / 3
 *                    (no strobe = white, full strobe on every plane = black)
 *
 * G Omega kernel (per plane, words A..G of G_Omega), on the levels l after the
 * curves, with the row above first (rows run down the picture, the head's
 * print direction):
 *        A B C
 *        D E F      l' = clamp((sum of weight x level + 8) >> 4, 0, 255)
 *        . G .      i.e. divisor 16, halves rounded up.
 * Neighbours outside the picture repeat its edge pixel.
 *
 * G Delta step (per plane, words LowSH, HightSH, L2HCoef, H2LCoef of G_Delta,
 * all on the 0..255 level scale): the head element remembers the line before.
 * With p the level just above and l the level itself, the first rule that
 * holds:
 *     p <= LowSH  and l >= HightSH : l' = clamp(l + L2HCoef)  (cold element
 *                                    needs more energy)
 *     p >= HightSH and l <= LowSH  : l' = clamp(l - H2LCoef)  (residual heat)
 *     otherwise                      l' = l
 * The first row has no line before and is drawn as it is.
 *
 * -------------------------------------------------------------------------
 * Markers (getiDataTable)
 * -------------------------------------------------------------------------
 * For each plane p, a = 4 x the first point whose E_Gamma value reaches
 * (>=) the plane's start level, b = 4 x the first point reaching its end
 * level; 255 when no point does. The pair (a, b) of plane p is written as two
 * signed 16-bit little-endian words at byte 4p of the record, a first: 16
 * bytes in all, nothing else is written. The editors divide by 4 and so mark
 * the points of their curve that lie at the edges of the E gamma range.
 *
 * -------------------------------------------------------------------------
 * Strobe sum (getStbSum)
 * -------------------------------------------------------------------------
 * The head strobes each line in 256 pulses of (STBPitch + 2) clocks of
 * 48 MHz; STB_Gamma point i gives the share (value / 10000) of pulse i that
 * is switched on for plane p. The plane's total strobe time in nanoseconds is
 *     sum over i of min(value(i, p), 10000) x (max(STBPitch, 0) + 2) x 1000
 *                                            / (10000 x 48)
 *   = (V_p x (max(STBPitch, 0) + 2) + 240) / 480,   V_p = the clamped sum,
 * rounded to the nearest nanosecond, halves up. The defaults (ramp, pitch 0)
 * give 5313 ns (5312.5 rounded up).
 *
 * -------------------------------------------------------------------------
 * Calling
 * -------------------------------------------------------------------------
 * Every function returns JM_OK or a negative JM_E_* code and never throws.
 * An image function draws the overlap of the two bitmaps (the smaller width
 * and height) and leaves the rest of the surface alone; an empty overlap
 * draws nothing and is no error. Neighbours of the kernels come from the whole
 * picture. Surface and picture may be the same
 * pixels. The work is split across as many threads as the process may use
 * CPUs (its affinity mask); the environment variable JMENGINE_THREADS = n (1..256) sets the
 * number instead. Calls are safe from any thread; a call works on the data
 * set handed over last before it started.
 */
#pragma once

#include <stdint.h>

#if defined(__GNUC__)
#define JM_EXPORT __attribute__((visibility("default")))
#else
#define JM_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Size of the data set setDataTable reads, and where its tables lie. */
enum {
    JM_ENGINE_IMAGE_SIZE = 37124,
    JM_CURVE_POINTS = 256,
    JM_PLANES = 4,
    JM_CURVE_TABLE_BYTES = 2048, /* 256 points x 4 planes x 2 bytes */
    JM_PARAM_TABLE_BYTES = 64,   /* 8 words x 4 planes x 2 bytes */

    JM_OFF_EGAMMA_RANGE = 16, /* per plane: start word, end word (4 bytes) */
    JM_OFF_HEAD_TEMP = 32,
    JM_OFF_MEDIA_TEMP = 2080,
    JM_OFF_TEMP_COEF = 4128,
    JM_OFF_STB_GAMMA = 6176,
    JM_OFF_E_GAMMA = 8224,
    JM_OFF_C_GAMMA = 10272,
    JM_OFF_C_THETA = 12320,
    JM_OFF_C_EPSILON = 14368,
    JM_OFF_G_GAMMA = 16416,
    JM_OFF_G_THETA = 18464,
    JM_OFF_G_EPSILON = 20512,
    JM_OFF_E_EPSILON = 22560,
    JM_OFF_I_GAMMA = 24608,
    JM_OFF_I_THETA = 26656,
    JM_OFF_I_EPSILON = 28704,
    JM_OFF_C_SIGMA = 30752,
    JM_OFF_G_SIGMA = 30816,
    JM_OFF_G_OMEGA = 30880, /* words 0..6 = A..G */
    JM_OFF_G_DELTA = 30944, /* words LowSH, HightSH, L2HCoef, H2LCoef */
    JM_OFF_MEDIA_HUMIDITY = 31008,
    JM_OFF_HUMIDITY_COEF = 33056,
    JM_OFF_START_CMP = 35104,
    JM_OFF_PRINT_MODE = 37106, /* MediaSelect, PrintCycle, STBPitch, STBCalcCoef, OPData */
    JM_OFF_STB_PITCH = 37110
};

/* Result codes. */
enum {
    JM_OK = 0,
    JM_E_NULL = -1,    /* a null pointer where data was expected */
    JM_E_SIZE = -2,    /* negative size, or a stride shorter than a row */
    JM_E_NO_DATA = -3, /* no data set handed over yet */
    JM_E_FAILED = -4   /* out of memory or threads */
};

/* A 32-bit picture in memory: pixels 0xAARRGGBB, one uint32_t each, rows
 * stride bytes apart, top row first. */
typedef struct JmBitmap {
    uint32_t* pixels;
    int32_t width;
    int32_t height;
    int32_t stride;
} JmBitmap;

/* The marker record: (a, b) of plane p at byte 4p, little-endian. */
typedef struct JmMarkerRecord {
    unsigned char bytes[16];
} JmMarkerRecord;

/* Copies what the engine needs from the 37,124-byte data set. */
JM_EXPORT int32_t setDataTable(const void* dataSet);
/* Fills the 16 bytes of the marker record (see Markers). */
JM_EXPORT int32_t getiDataTable(void* markerRecord);
/* Fills four signed 32-bit strobe sums in ns, planes 0..3. */
JM_EXPORT int32_t getStbSum(int32_t* sums);

/* The image functions: draw the simulation of picture into surface. */
JM_EXPORT int32_t cGammaTempY(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t cGammaTempM(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t cGammaTempC(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t gGammaTempY(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t gGammaTempM(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t gGammaTempC(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t cGammaDisp(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t gGammaDisp(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t cgGammaDisp(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t ccgGammaDisp(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t iGammaImpY(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t iGammaImpM(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t iGammaImpC(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t iGammaDisp(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t ciGammaDisp(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t oGammaDisp(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t coGammaDisp(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t dGammaDisp(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t cdGammaDisp(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t pDataSim(JmBitmap* surface, const JmBitmap* picture);
JM_EXPORT int32_t hDataSim(JmBitmap* surface, const JmBitmap* picture);

#ifdef __cplusplus
}
#endif
