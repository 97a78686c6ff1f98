#include "core/dac/texts.h"

namespace dac {
namespace {

constexpr std::uint16_t kPrimaryRussian = 0x19;

constexpr WindowTexts kEnglish{
    .Title = u"DAC output",
    .MenuItem = u"DAC output\tCtrl+D",
    .ClockLabel = u"Sample clock:",
    .ClockName = u"Sample clock, Hz",
    .Listen = u"Listen",
    .VolumeLabel = u"Volume:",
    .VolumeName = u"Volume",
    .OutputLabel = u"Output frequency:",
    .ResolutionLabel = u"Resolution:",
    .SamplesLabel = u"Samples per period:",
    .NyquistLabel = u"Nyquist frequency:",
    .WheelName = u"Phase wheel",
    .SpectrumName = u"Spectrum",
    .Hz = u"Hz",
    .Db = u"dB",
    .Fundamental = u"Fundamental",
    .Spur = u"Spur",
    .Sfdr = u"SFDR",
    .NoSpur = u"no spur",
    .NoSoundDevice = u"No sound device: Listen is not available",
    .AboveNyquist = u"Above the Nyquist frequency: heard at ",
    .ClockRefused = u"Not applied: type a whole number from ",
    .To = u" to ",
    .Accumulator = u"Accumulator",
    .TableAddress = u"table address",
    .SpectrumKeys =
        u"Ctrl+C or Ctrl+Insert copies the spectrum's picture and its levels; "
        u"Ctrl+S saves them as a PNG picture or CSV numbers",
};

constexpr WindowTexts kRussian{
    .Title = u"Выход ЦАП",
    .MenuItem = u"Выход ЦАП\tCtrl+D",
    .ClockLabel = u"Тактовая частота:",
    .ClockName = u"Тактовая частота, Гц",
    .Listen = u"Слушать",
    .VolumeLabel = u"Громкость:",
    .VolumeName = u"Громкость",
    .OutputLabel = u"Выходная частота:",
    .ResolutionLabel = u"Разрешение:",
    .SamplesLabel = u"Отсчётов на период:",
    .NyquistLabel = u"Частота Найквиста:",
    .WheelName = u"Фазовое колесо",
    .SpectrumName = u"Спектр",
    .Hz = u"Гц",
    .Db = u"дБ",
    .Fundamental = u"Основная",
    .Spur = u"Помеха",
    .Sfdr = u"ДДБП",
    .NoSpur = u"помех нет",
    .NoSoundDevice = u"Нет звукового устройства: прослушивание недоступно",
    .AboveNyquist = u"Выше частоты Найквиста: слышна на ",
    .ClockRefused = u"Не принято: введите целое число от ",
    .To = u" до ",
    .Accumulator = u"Аккумулятор",
    .TableAddress = u"адрес в таблице",
    .SpectrumKeys =
        u"Ctrl+C или Ctrl+Insert копирует картинку спектра и его уровни; "
        u"Ctrl+S сохраняет их как картинку PNG или числа CSV",
};

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\u00A0' || c == u'\u202F' || c < u' ';
}

}  // namespace

Language LanguageFromPrimaryId(std::uint16_t primaryLanguageId) noexcept {
    return primaryLanguageId == kPrimaryRussian ? Language::Russian : Language::English;
}

const WindowTexts& TextsIn(Language language) noexcept {
    return language == Language::Russian ? kRussian : kEnglish;
}

std::optional<int> ReadClockEntry(std::u16string_view text, const base::NumberSymbols& symbols,
                                  int minHz, int maxHz) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.size() >= 2) {
        const char16_t h = text[text.size() - 2];
        const char16_t z = text[text.size() - 1];
        if ((h == u'H' || h == u'h') && (z == u'Z' || z == u'z')) {
            text.remove_suffix(2);
            while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
        }
    }
    // Whole numbers only; a digit count that cannot be in range stops the sum early.
    long long value = 0;
    int digits = 0;
    for (const char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            if (++digits > 12) return std::nullopt;
            value = value * 10 + (c - u'0');
        } else if (digits == 0 ||
                   !(IsBlank(c) || (symbols.Grouping != u'\0' && c == symbols.Grouping &&
                                    c != symbols.Decimal))) {
            return std::nullopt;
        }
    }
    const bool endsInDigit = !text.empty() && text.back() >= u'0' && text.back() <= u'9';
    if (digits == 0 || !endsInDigit || value < minHz || value > maxHz) return std::nullopt;
    return static_cast<int>(value);
}

std::u16string HertzDigits(int hz, const base::NumberSymbols& symbols) {
    base::DecimalDigits digits;
    digits.Negative = hz < 0;
    const long long magnitude = hz < 0 ? -static_cast<long long>(hz) : hz;
    digits.Whole = std::to_string(magnitude);
    return base::DecimalText(digits, {.Symbols = symbols});
}

std::u16string ClockRefusedText(Language language, const base::NumberSymbols& symbols, int minHz,
                                int maxHz) {
    const WindowTexts& t = TextsIn(language);
    std::u16string text(t.ClockRefused);
    text += HertzDigits(minHz, symbols);
    text += t.To;
    text += HertzDigits(maxHz, symbols);
    text += u' ';
    text += t.Hz;
    return text;
}

}  // namespace dac
