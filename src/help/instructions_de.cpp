// Unit ZQD: the German instruction pages, the short rules and the detailed
// instructions of four pages.
#include <string_view>

#include "help/instruction_pages.h"
#include "help/zqd.h"

namespace zqd {

namespace {

constexpr std::string_view SHORT[] = {
    "~                            ***  Spielregeln !  ***~",
    "",
    "  Zentrovalquist ist ein Denkspiel fuer zwei Spieler. Urspruenglich musste eine",
    "vierstellige Zahl erraten werden, die sich der Gegenspieler ausgedacht hatte.",
    "  Hier kommen zu den Ziffern die Buchstaben hinzu. Der Zeichenvorrat, die Laenge",
    "des Codes und ob sich Zeichen wiederholen duerfen, sind frei waehlbar.",
    "  Spieler 1 denkt sich einen Code aus, Spieler 2 raet. Zu jedem Versuch erfaehrt",
    "er P, die Zahl der Zeichen an der richtigen Position, und Z, die Zahl der",
    "weiteren richtigen Zeichen an falscher Position. Beispiel: abc gegen acd ergibt",
    "P=1 (das a) und Z=1 (das c). Gewonnen ist, wenn P gleich der Codelaenge ist.",
    "  Jede Rolle kann der Computer uebernehmen; zwei Personen koennen mit dem",
    "Computer als Schiedsrichter spielen, oder der Computer spielt gegen sich selbst.",
    "  Raet der Computer zu lange, so brechen Sie mit Esc ab, oder Sie zwingen ihn",
    "mit \"F4\", sich sofort zu entscheiden.",
    "  Als Hilfe fuer den Rater kann ein Leerzeichen (Leertaste oder \"*\") erlaubt",
    "werden. Es zaehlt nie als Treffer: a*b gegen abc ergibt P=1 und Z=1.",
    "  Der Code kann fest sein oder ein variabler Antwortcode: dann aendert Spieler 1",
    "den Code, soweit es die schon gegebenen Antworten zulassen.",
};

constexpr std::string_view PAGE1[] = {
    "~                            ***  Zentrovalquist  ***~",
    "",
    "  Zentrovalquist geht auf ein altes Spiel mit Papier und Bleistift fuer zwei",
    "Spieler zurueck: einer ist der Verschluessler, der andere der Codeknacker.",
    "Spaeter kam es auch als Brettspiel mit farbigen Steckern in den Handel, bei dem",
    "statt Ziffern Farben zu erraten sind.",
    "",
    "~                        Spielablauf (\"Zentrovalquist\"):~",
    "",
    "  Der Verschluessler denkt sich einen Code aus, meist vier Ziffern, von denen",
    "keine doppelt vorkommt. Der Codeknacker versucht ihn durch Versuche zu erraten.",
    "Zu jedem Versuch nennt der Verschluessler zwei Zahlen:",
    "  P = Anzahl der Zeichen, die an der richtigen Position stehen,",
    "  Z = Anzahl der weiteren Zeichen, die im Code vorkommen, aber woanders stehen.",
    "Im Volksmund heissen die P oft \"Volltreffer\" und die Z \"Halbtreffer\".",
    "",
    "     ~Beispiel:~  Code 2934, Versuch 2473.",
    "                Nur die erste Position (2) stimmt ueberein     => P=1.",
    "                Beide enthalten ausserdem eine 4 und eine 3    => Z=1+1=2.",
    "",
    "  Ziel ist es, den Code mit so wenigen Versuchen wie moeglich zu knacken.",
};

constexpr std::string_view PAGE2[] = {
    "~             Die vorliegende wesentlich erweiterte Computerversion:~",
    "",
    "  Der Spielablauf bleibt gleich. Der Computer kann Verschluessler oder",
    "Codeknacker sein, zwei Personen koennen gegeneinander spielen, oder der Computer",
    "spielt gegen sich selbst.",
    "",
    "~                        Unterschiede zum Originalspiel:~",
    "",
    "  ~Der erlaubte Zeichenvorrat~ ist ein Abschnitt des Rings 0..9, a..z, gegeben",
    "durch sein erstes und sein letztes Zeichen. Beispiel: erstes Zeichen y, letztes",
    "Zeichen b ergibt y,z,0,1,2,3,4,5,6,7,8,9,a,b.",
    "  ~Die Codelaenge~ liegt zwischen 2 und 9 Zeichen; ~der Code~ ist also nicht mehr",
    "auf vier Ziffern beschraenkt.",
    "  ~Wiederholungen von Zeichen~ koennen erlaubt oder verboten werden, soweit der",
    "Zeichenvorrat das zulaesst.",
    "  Als Hilfe fuer den Codeknacker ist ~das Raten unvollstaendiger Codes~ mit",
    "~Leerzeichen~ moeglich (Frage ~\"Sind Leerzeichen erlaubt?\"~). Ein Leerzeichen",
    "wird mit der Leertaste oder \"*\" eingegeben und als \"*\" angezeigt, eine noch",
    "nicht belegte Position als \".\".",
    "  Beispiel: Loesung acab, Versuch *a*b ergibt P=1, Z=1.",
};

constexpr std::string_view PAGE3[] = {
    "",
    "  Der Verschluessler kann mit einem ~festen Code~ spielen oder mit einem",
    "~variablen Antwortcode~. Beim variablen Antwortcode aendert er seinen Code im",
    "Rahmen seiner bisherigen Antworten, um das Raetsel so schwer wie moeglich zu",
    "machen. Er darf dabei keiner frueheren Antwort widersprechen.",
    "",
    "  ~Beispiel:~ Zeichen a und b, Codelaenge 2, Wiederholungen erlaubt, variabler",
    "Code. Moeglich sind die vier Codes aa, ab, ba und bb.",
    "  Der Codeknacker raet ba. Der Verschluessler hat drei moegliche Antworten:",
    "    P=2, Z=0: das Spiel ist mit ba beendet;",
    "    P=0, Z=2: das Spiel endet nach dem naechsten Versuch mit ab;",
    "    P=1, Z=0: es bleiben aa oder bb.",
    "  Der Verschluessler waehlt die dritte Antwort.",
    "  Der Codeknacker raet nun bb. Der Verschluessler antwortet P=0, Z=0 statt",
    "P=2, Z=0, denn so bleibt noch aa uebrig.",
    "  Der dritte Versuch aa loest das Raetsel.",
};

constexpr std::string_view PAGE4[] = {
    "~          Hier das Spiel noch einmal im Ueberblick:~",
    "",
    "          Nr.  Code  P  Z",
    "           1    ba   1  0",
    "           2    bb   0  0",
    "           3    aa   2  0",
    "          Loesung: aa   benoetigte Versuche: 3",
    "",
    "  ~Eine Person raet gegen einen variablen Code des Computers:~",
    "  In diesem trivialen Beispiel steht die Antwort schon vor dem ersten Versuch",
    "fest, sie kann aber nicht eingegeben werden. Die Antworten des Computers sind",
    "starr und durch die Versuche vollstaendig bestimmt; so laesst sich jedes Spiel",
    "nachspielen, auch Spiele, die der Computer gegen sich selbst gespielt hat.",
    "",
    "  ~Der Computer raet und stellt auch einen variablen Code:~",
    "  Er raet optimal, wenn er nicht unterbrochen wird, und schummelt optimal gegen",
    "sich selbst. So wurde die im Spiel angezeigte Zahl der Versuche ermittelt, mit",
    "der ~jeder~ Code unter den gegebenen Bedingungen zu knacken ist.",
    "",
    "  ~Eine Person stellt die Loesung:~",
    "  Der Computer prueft die Antworten der Person und nimmt sie nur an, wenn sie",
    "zu gueltigen Ergebnissen fuehren.",
};

constexpr help::Page PAGES[] = {PAGE1, PAGE2, PAGE3, PAGE4};

}  // namespace

void KURZANLEITUNGD(std::uint8_t normal, std::uint8_t highlight) { help::show_single_page(SHORT, normal, highlight); }

void SPIELANLEITUNGD(std::uint8_t normal, std::uint8_t highlight) { help::show_pages(PAGES, normal, highlight); }

help::Page short_page() { return SHORT; }
std::span<const help::Page> detailed_pages() { return PAGES; }

}  // namespace zqd
