/* The segment parser of the boot loader (segload.s) fed byte streams as
 * a disk would give them: it must load every segment and ask for nothing
 * after the end marker's two zero bytes, since a disk image may end there
 * and the sectors after it read back stale data. A broken stream must be
 * reported (the boot then fails), not followed. */
#include <stdio.h>
#include <string.h>

/* Returns 1 when the stream was broken (the parser's carry). */
unsigned char parse(void);

#define TARGET ((unsigned char *)0x6000) /* where levels load; far above this program */
#define STALE 0xA5

static const unsigned char *stream;
static unsigned int length, pos, past_end;
static unsigned int failures;

/* The parser's next_byte. */
unsigned char stream_next(void)
{
    if (pos >= length) {
        ++past_end;
        return STALE;
    }
    return stream[pos++];
}

static void expect(unsigned int got, unsigned int want, const char *what)
{
    if (got != want) {
        printf("FAILED: %s: got $%X, expected $%X\n", what, got, want);
        ++failures;
    }
}

/* Parses `data`, followed by `marker` zero bytes and then stale bytes;
 * returns what the parser returns. */
static unsigned char run(const unsigned char *data, unsigned int size, unsigned int marker)
{
    static unsigned char buffer[600];
    memcpy(buffer, data, size);
    memset(buffer + size, 0, marker);
    memset(buffer + size + marker, STALE, sizeof buffer - size - marker);
    stream = buffer;
    length = sizeof buffer;
    pos = past_end = 0;
    memset(TARGET, 0, 0x200);
    return parse();
}

/* Two segments, one of them a single byte, then each end marker: the
 * parser stops after the marker's start address whatever follows. */
static void both_markers(void)
{
    static const unsigned char two[] = {
        0x00, 0x60, 0x03, 0x60, 1, 2, 3, 4,
        0x10, 0x60, 0x10, 0x60, 9
    };
    static const unsigned int markers[] = {3, 260, 2};
    unsigned char i;
    for (i = 0; i < 3; ++i) {
        expect(run(two, sizeof two, markers[i]), 0, "a whole stream");
        expect(pos, sizeof two + 2, "bytes read: up to the marker's start address");
        expect(past_end, 0, "nothing read past the stream");
        expect(TARGET[0] + TARGET[1] + TARGET[2] + TARGET[3], 10, "first segment");
        expect(TARGET[4], 0, "first segment ends at its end address");
        expect(TARGET[0x10], 9, "one-byte segment");
        expect(TARGET[0x11], 0, "nothing after it");
    }
}

/* A level-sized segment across a 256-byte page, after a load-file header
 * word $FFFF, which is skipped. */
static void long_segment(void)
{
    static unsigned char level[4 + 504 + 2];
    unsigned int i;
    level[0] = 0xFF;
    level[1] = 0xFF;
    level[2] = 0x00;
    level[3] = 0x60;
    level[4] = 0xF7;
    level[5] = 0x61;
    for (i = 0; i < 504; ++i)
        level[6 + i] = (unsigned char)(i * 7 + 1);
    run(level, 2 + 4 + 504, 3);
    expect(pos, 2 + 4 + 504 + 2, "bytes read of a long segment");
    expect(TARGET[0], 1, "its first byte");
    expect(TARGET[0x100], (unsigned char)(0x100 * 7 + 1), "the byte after a page");
    expect(TARGET[503], (unsigned char)(503 * 7 + 1), "its last byte");
    expect(TARGET[504], 0, "nothing after its end address");
}

/* An end address before the start, or a segment reaching below $2000 or
 * past $8FFF (the loader, the OS, the hardware), is a broken stream: the
 * parser reports it and stops instead of writing all over memory, even
 * after a good segment. */
static void broken(void)
{
    static const unsigned char cases[][9] = {
        {0x00, 0x60, 0x00, 0x60, 7, 0x10, 0x60, 0x00, 0x60}, /* backwards */
        {0x00, 0x60, 0x00, 0x60, 7, 0x00, 0x07, 0x10, 0x07}, /* over the loader */
        {0x00, 0x60, 0x00, 0x60, 7, 0xF0, 0x8F, 0x10, 0x90}, /* past $8FFF */
        {0x00, 0x60, 0x00, 0x60, 7, 0x00, 0xD0, 0x00, 0xD0}, /* the hardware */
    };
    unsigned char i;
    for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        expect(run(cases[i], sizeof cases[i], 3), 1, "a broken stream is reported");
        expect(pos, 9, "stops after the addresses");
        expect(TARGET[0], 7, "the good segment before it is loaded");
        expect(TARGET[0x10], 0, "writes nothing of the broken one");
    }
}

int main(void)
{
    both_markers();
    long_segment();
    broken();
    if (failures)
        printf("%u check(s) failed\n", failures);
    return failures != 0;
}
