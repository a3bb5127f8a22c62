// The image window's help pages: the window and its two dialogs.
#include "app/help_image_pages.h"

#include "app/help_pages.h"

namespace qvi {

namespace {

std::string ImageWindowBody() {
    return "<h1>Image window</h1>"
           "<p>Each acquisition board (and each camera channel of an SXA board) has one image "
           "window; it opens when the board becomes the active board. The right mouse button "
           "(or the menu key, or Shift+F10) opens its menu: <b>Grab</b> shows live video, "
           "<b>Snap</b> takes "
           "one frame, <b>Clear</b> clears it, <b>Triggered Snap ...</b> opens the "
           "Triggered Acquisition dialog, <b>Edit ...</b> (or a double click) opens the board's "
           "Module Setup. <b>Stretch to Fit Enable</b> scales the image to the window and "
           "turns the scroll bars and DirectDraw off; <b>DirectDraw Mode Enable</b> displays "
           "through DirectDraw.</p>"
           "<p>While a grab runs the status bar shows the frames shown per second and the "
           "frames dropped because the display fell behind. On a still 8-bit image, hold the "
           "left button to read the pixel under the cross cursor in the status bar "
           "(<tt>x= 12  y=34 pix=56</tt>).</p>"
           "<p>Save TIFF file... writes the shown image (you are asked before a file is "
           "replaced); Load TIFF file... shows a file in the active board's window.</p>"
           "<p>Register Viewer... lists the registers of the window's board and of the "
           "modules on it with their values; Refresh reads them again, or once a second while "
           "<b>Refresh every second</b> is checked. There is one viewer at a time: the command "
           "brings an open one forward. It is not offered for SXA boards.</p>"
           "<p>Image Tools... shows the histogram of the image (one curve per colour, a bin for "
           "every value of the image's depth; <b>Logarithmic counts</b> brings out rare values), "
           "the profile along a line and the value under the mouse at the image's own depth "
           "(R, G, B for colour, Y, Cb, Cr for YCrCb), four times a second while a grab runs. "
           "Draw the profile's line with Shift and the left button held; until then it is the "
           "middle row.</p>";
}

std::string TriggerBody() {
    return "<h1>Triggered Acquisition</h1>"
           "<p>Opening the dialog clears the window and turns the board's trigger mode on. "
           "Choose the trigger source: <b>External</b> or <b>Software</b> (a TX-30 takes "
           "external triggers only). <b>Arm + poll</b> arms the board and waits for the "
           "external trigger in the <i>Waiting for external trigger...</i> box, which Cancel "
           "ends; <b>Arm + fire</b> arms the board and fires the trigger itself. The frame "
           "taken on the trigger is shown in the window. <b>Clear frame</b> clears it. Closing "
           "the dialog turns the trigger mode off.</p>";
}

std::string DioBody() {
    return "<h1>Digital I/O Test</h1>"
           "<p>Offered for SXA boards and for boards of hardware revision 5 or above. The "
           "eight <b>Input</b> boxes show the board's input lines, read every 100 ms; the "
           "eight <b>Output</b> boxes drive its output lines (all off when the dialog opens). "
           "<b>Input Buffer Enable</b> latches the inputs on the input strobe; the strobe "
           "polarity can be chosen only while it is set and takes effect with the next change "
           "of the buffer enable. <b>Output Strobe</b> chooses whether the output strobe is "
           "driven low or high.</p>";
}

std::string SelfTestBody() {
    return "<h1>Acquisition Self-Test</h1>"
           "<p>Help &gt; Acquisition Self-Test... tries every board of the board list (boards "
           "that acquire, and each SXA camera channel) through a window of its own; open image "
           "windows are closed first when you agree. Each board gets four steps, each passed, "
           "failed or skipped with the reason:</p><ul>"
           "<li><b>snap</b>: one frame is acquired and drawn;</li>"
           "<li><b>grab</b>: one second live. The rate of frames acquired must lie within 10 % "
           "of the rate the module's own timing sets (the TX-50's frame time); where the camera "
           "sets the rate, it is reported;</li>"
           "<li><b>triggered snap</b>: a software trigger brings a frame within 3 seconds (a "
           "TX-30 takes external triggers only);</li>"
           "<li><b>digital I/O</b>: when the eight inputs follow the outputs off and on, the "
           "lines are looped back, and each output alone must show on its own input only.</li>"
           "</ul><p>Cancel stops before the next board. The report is kept beside the "
           "configuration, its extension replaced by <i>.selftest.txt</i>.</p>";
}

}  // namespace

std::vector<TopicPage> ImageWindowHelpPages(const std::string &contentsLink) {
    const std::string back = "<p><a href=\"" + contentsLink + "\">Contents</a></p>";
    return {{HelpBook::kImageWindowTopic, "Image window", ImageWindowBody() + back},
            {HelpBook::kTriggerDialogTopic, "Triggered Acquisition", TriggerBody() + back},
            {HelpBook::kDioDialogTopic, "Digital I/O Test", DioBody() + back},
            {HelpBook::kSelfTestTopic, "Acquisition Self-Test", SelfTestBody() + back}};
}

}  // namespace qvi
