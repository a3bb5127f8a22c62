#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "keys/key_table.h"
#include "quar/quar_api.h"
#include "sim/digital_ports.h"
#include "sim/frame_memory.h"

namespace quar {

// One board, module, camera channel or bus translator the library holds: its
// place in the system, its records in the arena, its register file and its
// library parameters.
struct Element {
    QRX_HANDLE handle = 0;
    const qvi::keys::ModelTable *table = nullptr;
    std::string libraryName;  // what qrx_get_modname reports ("SXA" for a camera channel)
    int category = QRX_CATEGORY_SLOT_MODULE;
    int system = -1;  // -1: a module built on its own (qrx_load_modcnf)
    int instance = 0;
    int slot = -1;
    // A board's position among the boards of its kind in its own system; the
    // rack numbers boards of a kind across systems in order.
    int kindIndexInSystem = -1;
    QRX_HANDLE parent = 0;
    std::vector<QRX_HANDLE> children;  // a board's modules or camera channels, in file order

    std::uint32_t spec = 0;               // module specification
    std::vector<std::uint32_t> cameras;   // camera structure per port
    std::vector<std::uint32_t> matrices;  // colour matrix per port

    std::map<int, std::uint32_t> registers;
    std::vector<std::uint8_t> registerTable;
    std::map<int, double> params;
    // The input look-up table the module last loaded: one output per input
    // pixel value; empty until one is loaded.
    std::vector<std::uint16_t> inputLut;
    // A TX-30's FPGA file loaded last (its path and data bytes; empty until
    // one is loaded), the transform of its output look-up tables (-1 until
    // set), and the words its colour-space converter's coefficient port took
    // since the port was last set up, and how often it was set up.
    std::string fpgaFile;
    std::size_t fpgaBytes = 0;
    std::pair<int, int> fpgaSize{0, 0};  // the image the loaded design delivers; 0: standard
    int outputLut = -1;
    std::vector<std::uint16_t> coefficientWords;
    int coefficientLoads = 0;
    // A board's frame memories and display output.
    FrameMemory frames;
    // A board's digital I/O port.
    DigitalPorts ports;
};

}  // namespace quar
