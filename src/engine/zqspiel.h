// Unit ZQSPIEL, the game engine: its records and every global it shares.
//
// The engine is written in the procedural style of the game's design: state
// lives in globals, procedures take few arguments and talk through them.
// Those below are the ones the parts of the program share; a global that
// one part of the engine alone uses belongs in that part's header (the
// clock's in clock/clock.h, the codebreaker's in codebreaker_state.h, ...).
// Indices follow the design (1-based where a record counts from 1), so the
// arrays carry an unused slot where that keeps the code readable.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace zqspiel {

using byte = std::uint8_t;

// ---- records ----------------------------------------------------------------

// A code or a guess: positions 1..9 of sign characters, blank where unknown.
struct CODE {
    char s[9];
    char& operator[](int i) { return s[i - 1]; }
    char operator[](int i) const { return s[i - 1]; }
    void blank() { std::memset(s, ' ', sizeof s); }
    bool operator==(const CODE& o) const { return std::memcmp(s, o.s, sizeof s) == 0; }
};

// A byte per code position 1..9.
struct ZAHLENFELD {
    byte b[9];
    byte& operator[](int i) { return b[i - 1]; }
    byte operator[](int i) const { return b[i - 1]; }
};

using FARBFELD = std::array<byte, 37>;      // by sign number 0..36
using NAMENSFELD = std::array<char, 33>;    // 1..31 the name, 0 and 32 blank guards
using MATRIX_REIHENFOLGE = std::array<byte, 55>;  // entries 1..54, slot 0 unused

// A screen column for the left (1) and right (2) half of the trial table.
struct POSITION {
    std::uint16_t c[2];
    std::uint16_t& operator[](int i) { return c[i - 1]; }
    std::uint16_t operator[](int i) const { return c[i - 1]; }
};

struct VERSUCH {
    std::int16_t NR;
    CODE ZUG;
    byte P;
    byte Z;
};

// The trial history, slots 1..30.
struct VFELD {
    VERSUCH v[30];
    VERSUCH& operator[](int i) { return v[i - 1]; }
    const VERSUCH& operator[](int i) const { return v[i - 1]; }
};

// The conditions of a match and the record of the conditions file: 80 bytes,
// no padding, in file order.
#pragma pack(push, 1)
struct BEDINGUNG {
    byte NORMALATTR;
    byte HERVORATTR;
    byte ZEITSTUFE;
    byte CODELAENGE;
    byte RESERVE4;
    byte SPEICHER;
    char ERSTES_ZEICHEN;
    char LETZTES_ZEICHEN;
    bool TON;
    bool WIEDERHOLUNG;
    bool LEERZEICHEN_ERLAUBT;
    bool PC_LOESUNG;
    bool PC_RAET;
    bool LOESUNG_FEST;
    NAMENSFELD NAME1;
    NAMENSFELD NAME2;
};
#pragma pack(pop)
static_assert(sizeof(BEDINGUNG) == 80, "the conditions record is 80 bytes");

// ---- conditions, signs, history and flags -------------------------------------

inline BEDINGUNG X{};
inline CODE LOESUNG{{' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '}};
inline FARBFELD GESPIELT{};
inline VFELD V30{};
inline std::int32_t NUMMER = 0;
inline unsigned char A = 0;

inline bool KANN_RATEN = true;
inline bool KANN_MOGELN = true;
inline bool WEITER = false;
inline bool ZURUECK = false;
inline bool SP_D = true;
inline byte WX = 0, WY = 0;
inline POSITION X1{{42, 62}}, X3{{56, 76}}, X4{{58, 78}};
inline bool LEERZEICHEN = false, FEHLZ_BENUTZT = false, ALLE_F_LOESCHEN = false;
inline bool KENNEALLEFARBEN = false;
inline bool ALLESTERNEDRUCKEN = true;
inline std::int64_t MEMAVAIL = 0;
inline std::int64_t OBERGRENZE = INT64_MAX;
inline std::int32_t ZEITLIMIT = 0, ZEITLIMIT99 = 0, ZEITLIMIT_DIV_10 = 0;

// The sign ring: tables rebuilt whenever the first sign changes.
inline FARBFELD FARBARRAY{};               // sign by number, 0 = '*'
inline std::array<byte, 'z' - '0' + 1> NRARRAY{};  // number by sign '0'..'z', 255 between '9' and 'a'
inline byte MAXFARBE = 10;
inline byte XMINPLUS20 = 0, PLUS20KOMPL = 0, XMINPLUS34 = 0, XMINPLUS59 = 0, XMINPLUS95 = 0;

// The memory step labels and budgets, steps 1..15.
inline const char* const MEMORY_TEXT[16] = {
    "",        "  1 MiB", "  8 MiB", " 64 MiB", "128 MiB", "256 MiB", "512 MiB", "  1 GiB",
    "  2 GiB", "  4 GiB", "  8 GiB", " 16 GiB", " 32 GiB", " 64 GiB", "128 GiB", "256 GiB"};

// ---- kept by the main program, read by the engine -----------------------------
inline byte NORMALFARBE = 31, HERVORFARBE = 30;
inline bool FARBSCHIRM = true;
inline byte SPEICHERSTUFE = 10;
inline bool LEERZ_MERKER = false;         // the vacant-sign condition as the user set it
inline bool NAMEN_UEBERSPRINGEN = true;

// ---- clock (SCHREIBE_ZEIT) ----------------------------------------------------
// What the clock shares with the rest of the engine and the main program; its
// own state is in engine/clock/clock.h. Stamps are hundredths of a second
// since midnight (one day = 8640000); a negative difference of two stamps has
// one day added.
inline std::uint16_t STD = 0, MIN = 0, SEK = 0, HSEK = 0;  // last reading of the system time
inline std::uint16_t JAHR = 0, MONAT = 0, TAG = 0, WOTAG = 0;  // date shown
inline bool ZEITEIN = false;           // the clock runs
inline bool RATENDRAN = false;         // the codebreaker is on turn
inline bool ZEIT_GERATEN_KL100 = true;  // the search line's elapsed time is below 100 hours: still updated
// The search line of row 25.
inline bool RATEN_ZEITANZEIGE = false;       // a computer search is running: the line is live
inline bool SETZE_RATE_ZEIT_AKT = false;     // request: the search starts now
inline bool SETZEZEITLETZTERVERSUCH = false;  // request: a trial of the search finished now
inline std::int32_t SPIELZEIT = 0;           // hundredths since the start of the search
inline std::int32_t RESTZEIT = 0;            // estimated remaining hundredths
inline std::int32_t GERATENE_VERSUCHE = 0;  // trials of the search done so far
inline std::int32_t ZAHL_DER_VERSUCHE = 0;  // trials the search makes in all
inline std::int32_t NUMMER_PLUS = 0;        // trials it must make at least
inline bool ZEITLIMIT_GR_0 = false;         // a time limit per guess is in force
inline std::int32_t ZAHL_DER_STERNE = 0;    // stars of the bar drawn so far (0..10)

// ---- virtual game date --------------------------------------------------------
inline bool VIRTUALDATE = false, VIRTUALOLDDATE = true;
inline std::uint16_t VIRJ1 = 0, VIRM1 = 0, VIRT1 = 0, VIRWT1 = 0;
inline std::uint16_t VIRJ2 = 0, VIRM2 = 0, VIRT2 = 0, VIRWT2 = 0;

// ---- memory budget and capacity ---------------------------------------------
// Node size of the candidate store, set by KORRIGIERE from the code length and
// the sign count: a multiple of 32.
inline std::uint16_t SIZERATEN = 32;
inline std::uint64_t SIZERATENPTR = 32;
inline bool GENUGPLATZ = false;            // the rounding left a spare byte for the try-mark
inline std::int64_t MEMGES = 0;            // MERKEMEMAVAIL rounded down to a multiple of 32
inline std::int64_t MERKEMEMAVAIL = -5;    // the budget the capacity table was made for
inline bool GEAENDERT = false;             // the budget changed at the last check
// By code length 1..10 (used 2..9): the most signs the computer can still guess with.
inline std::array<byte, 11> ZAEHLEFARBEN{};
inline std::array<byte, 11> MERKEZAEHLEFARBEN{};  // the table as last shown

// ---- candidate store ----------------------------------------------------------
// A candidate node: three links and the code with its sign counts. Nodes are
// taken from STORE_ARENA with only SIZERATEN bytes, so data is valid only
// up to that size.
struct LISTE {
    LISTE* link1;  // allocation chain
    LISTE* link2;  // guess chain (during the build: forward link of the bucket)
    LISTE* link3;  // solution chain (during the build: backward link of the bucket)
    byte data[46];
    byte& d(int i) { return data[i - 1]; }  // 1-based, as the layout counts
    byte d(int i) const { return data[i - 1]; }
};
using PTR = LISTE*;

// A node of the encoder's list of codes (32 bytes from the arena).
struct LISTE_O_F {
    LISTE_O_F* link1;  // allocation chain
    LISTE_O_F* link2;  // list of codes still possible
    byte data[10];
};
using PTR_O_F = LISTE_O_F*;

inline PTR VERSLOE = nullptr, VERS = nullptr, AKTUELL = nullptr;
inline PTR_O_F ERL = nullptr, ERLLOE = nullptr;
inline LISTE ANFANG{};
inline bool NEUER_KANDIDAT = false;

// Where a node keeps its try-mark: data[ENDFARBEPL1] (set by INIT_RATEN; the
// sign counts' places are in codebreaker/codebreaker_state.h).
inline byte ENDFARBEPL1 = 0;
inline std::int32_t ZAHLGESAMTVERSUCHE = 0;  // nodes in the guess chain
inline bool OK = false;  // SETZE_ANFANG accepted its arguments

// ---- codebreaker ----------------------------------------------------------------
// Set by the match loop at match start, read and changed by RATE_CODE.
inline bool AEQUI_KLASSE = true;   // opening phase: play ANFANG without search
inline byte FEHLZEICHEN = 0;       // a sign known to be absent, filler of opening guesses
inline std::uint16_t UNTERBR = 0;  // searches cut short by F4/F6 this match
inline bool F6_GEDR = false;       // decide-soon request of the running search
// What is known about the secret's signs, by sign number 0..36 (the rest
// of it in codebreaker/codebreaker_state.h).
inline std::array<bool, 37> ERL_FARBE{};   // the sign may still occur in the secret
// The repetition condition as the user set it (the match loop may switch
// repetition off for the build); read for the opening pattern.
inline bool MERKE_WDHG = false;

// ---- not-fixed code -------------------------------------------------------------
// The code length the answer class order (encoder/answer_order.h) was last
// written for (0: none yet).
inline byte LETZTEZAHL = 0;
// The board row of the current try (where the P and Z fields of LESE_CODE are).
inline byte K = 0;

}  // namespace zqspiel
