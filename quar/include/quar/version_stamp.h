/*
 * The product version every QVI product carries inside its file: the
 * libraries of the imaging library stand-in, the converter and the programs.
 *
 * The version is an ELF note (owner "QVI", type QUAR_VERSION_NOTE_TYPE) whose
 * text is NUL-terminated. The linker puts notes in a PT_NOTE segment near the
 * start of the file, so the version check reads a few hundred bytes through
 * the program headers instead of scanning the whole file, and never has to
 * load or run it.
 *
 * Use once in one source of the product:   QUAR_VERSION_STAMP("0.1.0");
 * A version longer than QUAR_VERSION_NOTE_SIZE - 1 characters does not compile.
 */
#ifndef QUAR_VERSION_STAMP_H
#define QUAR_VERSION_STAMP_H

#include <stdint.h>

#define QUAR_VERSION_NOTE_OWNER "QVI"
#define QUAR_VERSION_NOTE_TYPE 1
#define QUAR_VERSION_NOTE_SIZE 32

/* One well-formed note: name and description sizes, type, the owner padded
 * to four bytes, then the version text padded with NULs. A section whose name
 * starts with ".note" is a note section to the assembler and the linker. */
struct quar_version_note {
    uint32_t nameSize;
    uint32_t textSize;
    uint32_t type;
    char owner[4];
    char text[QUAR_VERSION_NOTE_SIZE];
};

/* `used` keeps the otherwise unreferenced note in the object file. */
#define QUAR_VERSION_STAMP(version)                                                     \
    static const struct quar_version_note qvi_version_note                              \
        __attribute__((used, section(".note.qvi.version"), aligned(4))) = {             \
            sizeof(QUAR_VERSION_NOTE_OWNER), QUAR_VERSION_NOTE_SIZE,                    \
            QUAR_VERSION_NOTE_TYPE, QUAR_VERSION_NOTE_OWNER, version}

#endif /* QUAR_VERSION_STAMP_H */
