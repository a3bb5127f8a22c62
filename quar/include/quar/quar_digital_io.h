/*
 * The imaging library's digital I/O entries: each board has one input port
 * and one output port of 16 lines (bit i is line i).
 *
 * The program calls these through a pointer of the type
 * int (*)(QRX_HANDLE, ...) with one or two int arguments after the board, so
 * every argument here is a 32-bit int. Each returns -1 for a handle that is
 * not a board in the rack and for a value out of range.
 *
 * The output lines are also the board's library parameter 131
 * (qrx_get_param / qrx_set_param): writing either changes both. The rack
 * decides what the input lines read (rack.ini: Inputs, InputsToggle,
 * InputsPeriod, Loopback).
 */
#ifndef QUAR_QUAR_DIGITAL_IO_H
#define QUAR_QUAR_DIGITAL_IO_H

#include <stdint.h>

#include "quar/quar_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The input lines of port `port` (0, the board's only input port) as a mask
   of 0 to 0xFFFF; -1 for another port. */
QUAR_EXPORT int qrx_inport_val(QRX_HANDLE board, int32_t port);

/* Sets the output lines to `value` (0 to 0xFFFF). */
QUAR_EXPORT int qrx_outport_val(QRX_HANDLE board, int32_t value);

/* Sets the output lines like qrx_outport_val, then pulses the output strobe
   so that a device on the port takes the value. */
QUAR_EXPORT int qrx_outport_strobe_val(QRX_HANDLE board, int32_t value);

/* Input buffer enable (0 off, 1 on; on when the board comes up: off, the
   inputs read 0) and the edge of the input strobe that latches the inputs
   (0 rising, 1 falling). */
QUAR_EXPORT int qrx_inport_mode(QRX_HANDLE board, int32_t bufferEnable, int32_t strobePolarity);

/* The edge of the input strobe that raises the port's interrupt (0 rising,
   1 falling). */
QUAR_EXPORT int qrx_inport_intrpol(QRX_HANDLE board, int32_t polarity);

#ifdef __cplusplus
}
#endif

#endif /* QUAR_QUAR_DIGITAL_IO_H */
