#include "console/virtual_console.h"

namespace console {

namespace {
// Days from 0001-01-01 (proleptic Gregorian) and back.
std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}
void civil_from_days(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t yy = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}
constexpr std::int64_t DAY_MS = 86400000;
}  // namespace

VirtualConsole::VirtualConsole(std::uint64_t seed) {
    rng.seed(seed);
    program_path = "zentrovalquist";
    set_clock(2026, 12, 8, 10, 0, 0);
}

VirtualConsole::~VirtualConsole() = default;

VirtualConsole& VirtualConsole::keys(std::string_view s) {
    for (char c : s) script_.push_back({static_cast<unsigned char>(c), 0});
    return *this;
}
VirtualConsole& VirtualConsole::key(unsigned char c) {
    script_.push_back({c, 0});
    return *this;
}
VirtualConsole& VirtualConsole::ext(unsigned char scan) {
    script_.push_back({0, 0});
    script_.push_back({scan, 0});
    return *this;
}
VirtualConsole& VirtualConsole::wait(std::int64_t ms) {
    script_.push_back({-1, ms});
    return *this;
}

void VirtualConsole::set_clock(int year, int month, int day, int hour, int minute, int second,
                               int hundredth) {
    base_day_ = days_from_civil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    ms_ = ((hour * 60LL + minute) * 60 + second) * 1000 + hundredth * 10;
    wait_until_ = -1;
    idle_since_ = -1;
}

void VirtualConsole::advance(std::int64_t ms) { ms_ += ms; }

bool VirtualConsole::next_ready() {
    while (!script_.empty() && script_.front().key < 0) {
        if (wait_until_ < 0) wait_until_ = ms_ + script_.front().wait_ms;
        if (ms_ < wait_until_) return false;
        wait_until_ = -1;
        script_.pop_front();
    }
    return !script_.empty();
}

bool VirtualConsole::key_pressed() {
    ++key_tests;
    advance(tick_ms);
    if (next_ready()) {
        idle_since_ = -1;
        return true;
    }
    if (script_.empty()) {
        if (idle_since_ < 0) idle_since_ = ms_;
        if (ms_ - idle_since_ > idle_limit_ms) throw ScriptEnd();
    }
    return false;
}

unsigned char VirtualConsole::read_key() {
    advance(tick_ms);
    // A read blocks: a pending wait simply lets the clock run to its end.
    while (!script_.empty() && script_.front().key < 0) {
        if (wait_until_ < 0) wait_until_ = ms_ + script_.front().wait_ms;
        if (ms_ < wait_until_) ms_ = wait_until_;
        wait_until_ = -1;
        script_.pop_front();
    }
    if (script_.empty()) throw ScriptEnd();
    idle_since_ = -1;
    const int k = script_.front().key;
    script_.pop_front();
    return static_cast<unsigned char>(k);
}

void VirtualConsole::sound(unsigned hz) { tones.push_back({hz, ms_, -1}); }

void VirtualConsole::no_sound() {
    if (!tones.empty() && tones.back().end_ms < 0) tones.back().end_ms = ms_;
}

Date VirtualConsole::get_date() {
    const std::int64_t day = base_day_ + ms_ / DAY_MS;
    int y, m, d;
    civil_from_days(day, y, m, d);
    Date r;
    r.year = static_cast<std::uint16_t>(y);
    r.month = static_cast<std::uint16_t>(m);
    r.day = static_cast<std::uint16_t>(d);
    r.weekday = weekday_of(y, m, d);
    return r;
}

Time VirtualConsole::get_time() {
    const std::int64_t in_day = ms_ % DAY_MS;
    Time t;
    t.hour = static_cast<std::uint16_t>(in_day / 3600000);
    t.minute = static_cast<std::uint16_t>(in_day / 60000 % 60);
    t.second = static_cast<std::uint16_t>(in_day / 1000 % 60);
    t.hundredth = static_cast<std::uint16_t>(in_day / 10 % 100);
    return t;
}

bool VirtualConsole::set_date(const Date& d) {
    if (refuse_clock_setting) return false;
    const std::int64_t target = days_from_civil(d.year, d.month, d.day);
    base_day_ += target - (base_day_ + ms_ / DAY_MS);
    ++clock_settings;
    return true;
}

bool VirtualConsole::set_time(const Time& t) {
    if (refuse_clock_setting) return false;
    const std::int64_t day_start = ms_ - ms_ % DAY_MS;
    const std::int64_t target = ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.hundredth * 10;
    const std::int64_t old = ms_;
    ms_ = day_start + target;
    // keep a running wait and the idle measure consistent with the jump
    if (wait_until_ >= 0) wait_until_ += ms_ - old;
    if (idle_since_ >= 0) idle_since_ += ms_ - old;
    ++clock_settings;
    return true;
}

}  // namespace console
