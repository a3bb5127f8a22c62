/*
 * The product version every QVI product carries inside its file: the
 * libraries of the imaging library stand-in, the converter and the programs.
 * The version check reads it by scanning the file's bytes for the marker, so a
 * file never has to be loaded or run to tell its version.
 *
 * Use once in one source of the product:   QUAR_VERSION_STAMP("0.1.0");
 * The version text is printable ASCII and ends at the newline that follows it.
 */
#ifndef QUAR_VERSION_STAMP_H
#define QUAR_VERSION_STAMP_H

/* What precedes the version text in the file. */
#define QUAR_VERSION_MARKER "\n@(#)QVI-PRODUCT-VERSION:"

/* `used` keeps the otherwise unreferenced stamp in the object file. */
#define QUAR_VERSION_STAMP(version) \
    static const char qvi_version_stamp[] __attribute__((used)) = QUAR_VERSION_MARKER version "\n"

#endif /* QUAR_VERSION_STAMP_H */
