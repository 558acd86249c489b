#include "engine/clock.h"

namespace zqspiel {

void SCHREIBE_ZEIT() {}
void setze_uhr_fuer_partie() {}
void starte_spieluhr() {}
void beginne_suchanzeige(bool) {}
void beende_suchanzeige() {}

}  // namespace zqspiel
