#include "ipl/IplGeometry.h"
#include "ipl/IplRows.h"

#include <vector>

using namespace ipl;

// Axis 0 swaps rows (top and bottom), 1 swaps columns (left and right), -1 both.
void iplMirror(IplImage* srcImage, IplImage* dstImage, int flipAxis) {
    if (flipAxis < -1 || flipAxis > 1)
        return;
    Area area({srcImage, dstImage}, Channels::All);
    if (!prepareGeometry(area))
        return;
    const int lanes = area[0].laneCount;
    std::vector<int> row;
    std::vector<int> out(static_cast<std::size_t>(area.width * lanes));
    for (int j = 0; j < area.height; ++j) {
        readRow(area[0], flipAxis == 1 ? j : area.height - 1 - j, area.width, row);
        for (int i = 0; i < area.width; ++i) {
            const int from = flipAxis == 0 ? i : area.width - 1 - i;
            for (int c = 0; c < lanes; ++c)
                out[static_cast<std::size_t>(i * lanes + c)] = row[static_cast<std::size_t>(from * lanes + c)];
        }
        storeRow(area[1], j, out.data(), area.enabled(j), area.width);
    }
}
