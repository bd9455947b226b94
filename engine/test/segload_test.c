/* The segment parser of the boot loader (segload.s) fed byte streams as
 * a disk would give them: it must load every segment and ask for nothing
 * after the end marker's two zero bytes, since a disk image may end there
 * and the sectors after it read back stale data. */
#include <stdio.h>
#include <string.h>

void parse(void);

#define TARGET ((unsigned char *)0xC000) /* far above this program */
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

/* Parses `data`, followed by `marker` zero bytes and then stale bytes. */
static void run(const unsigned char *data, unsigned int size, unsigned int marker)
{
    static unsigned char buffer[600];
    memcpy(buffer, data, size);
    memset(buffer + size, 0, marker);
    memset(buffer + size + marker, STALE, sizeof buffer - size - marker);
    stream = buffer;
    length = sizeof buffer;
    pos = past_end = 0;
    memset(TARGET, 0, 0x200);
    parse();
}

/* Two segments, one of them a single byte, then each end marker: the
 * parser stops after the marker's start address whatever follows. */
static void both_markers(void)
{
    static const unsigned char two[] = {
        0x00, 0xC0, 0x03, 0xC0, 1, 2, 3, 4,
        0x10, 0xC0, 0x10, 0xC0, 9
    };
    static const unsigned int markers[] = {3, 260, 2};
    unsigned char i;
    for (i = 0; i < 3; ++i) {
        run(two, sizeof two, markers[i]);
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
    level[3] = 0xC0;
    level[4] = 0xF7;
    level[5] = 0xC1;
    for (i = 0; i < 504; ++i)
        level[6 + i] = (unsigned char)(i * 7 + 1);
    run(level, 2 + 4 + 504, 3);
    expect(pos, 2 + 4 + 504 + 2, "bytes read of a long segment");
    expect(TARGET[0], 1, "its first byte");
    expect(TARGET[0x100], (unsigned char)(0x100 * 7 + 1), "the byte after a page");
    expect(TARGET[503], (unsigned char)(503 * 7 + 1), "its last byte");
    expect(TARGET[504], 0, "nothing after its end address");
}

/* An end address before the start is a broken stream: the parser stops
 * instead of writing all over memory. */
static void broken(void)
{
    static const unsigned char backwards[] = {0x10, 0xC0, 0x00, 0xC0, 0xEE};
    run(backwards, sizeof backwards, 3);
    expect(pos, 4, "stops after the addresses");
    expect(TARGET[0x10], 0, "writes nothing");
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
