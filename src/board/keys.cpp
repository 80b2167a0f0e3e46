#include "board/keys.h"

namespace zarvi {

uint32_t keyTableA[2][squareCount][7];
uint32_t keyTableB[2][squareCount][7];
uint16_t keyTableC[2][squareCount][7];
HashKey sideKey;

void generateKeys() {
    // The slot order and the running sums are part of the book format.
    static const int typeOrder[7] = {0, 2, 4, 3, 5, 1, 6};
    uint32_t a = 27;
    uint32_t b = 5601;
    uint16_t c = 8;
    for (int side = 0; side < 2; ++side) {
        for (int s = 10; s <= 88; ++s) {
            for (int i = 0; i < 7; ++i) {
                b = b + uint32_t(3 * (s / 10 + s % 10) + 2 * i + side + 1940445);
                c = uint16_t(c + 29);
                keyTableB[side][s][typeOrder[i]] = b;
                keyTableC[side][s][typeOrder[i]] = c;
            }
        }
        for (int s = 88; s >= 10; --s) {
            for (int i = 0; i < 7; ++i) {
                a = a + 1940543u;
                keyTableA[side][s][typeOrder[i]] = a;
            }
        }
    }
    sideKey = {keyTableA[0][sideKeySquare][0], keyTableB[0][sideKeySquare][0],
               keyTableC[0][sideKeySquare][0]};
}

}  // namespace zarvi
