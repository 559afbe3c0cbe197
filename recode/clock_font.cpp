// The program's font, built into the binary: nivra-card has no Qt resources,
// and the clock must look the same in copies made by the window and by the
// command line.
#ifndef NIVRA_CLOCK_FONT
#error "NIVRA_CLOCK_FONT names the font file"
#endif

__asm__(".pushsection .rodata\n"
        ".balign 16\n"
        ".globl nivra_clock_font\n"
        "nivra_clock_font:\n"
        ".incbin \"" NIVRA_CLOCK_FONT "\"\n"
        ".globl nivra_clock_font_end\n"
        "nivra_clock_font_end:\n"
        ".byte 0\n"
        ".popsection\n");
