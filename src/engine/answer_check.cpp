#include "engine/answer_check.h"

namespace zqspiel {

bool read_checked_answer(const KLASSENTABELLE& t, byte n, byte p_col, byte z_col, byte row, byte& p,
                         byte& z, unsigned char& taste) {
    (void)t, (void)n, (void)p_col, (void)z_col, (void)row, (void)p, (void)z;
    taste = 27;
    return false;
}

}  // namespace zqspiel
