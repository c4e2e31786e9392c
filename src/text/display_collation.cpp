#include "text/display_collation.h"

#include "text/gbk_codec.h"

#include <unicode/coll.h>
#include <unicode/locid.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace qasp {
namespace {

std::string CollationLocale()
{
    for (const char *var : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char *value = std::getenv(var);
        if (!value || !*value)
            continue;
        std::string locale(value);
        locale = locale.substr(0, locale.find_first_of(".@"));  // "zh_CN.UTF-8" -> "zh_CN"
        if (locale == "C" || locale == "POSIX")
            break;
        return locale;
    }
    return "zh_CN";
}

const icu::Collator *TheCollator()
{
    static const std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> c(
            icu::Collator::createInstance(icu::Locale(CollationLocale().c_str()), status));
        if (U_FAILURE(status))
            c.reset();
        return c;
    }();
    return collator.get();
}

}  // namespace

int CompareDisplayTexts(std::string_view a, std::string_view b)
{
    const std::u16string ua = DecodeGbk(a);
    const std::u16string ub = DecodeGbk(b);
    if (const icu::Collator *c = TheCollator()) {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult r = c->compare(ua.data(), static_cast<int32_t>(ua.size()), ub.data(),
                                              static_cast<int32_t>(ub.size()), status);
        if (U_SUCCESS(status) && r != UCOL_EQUAL)
            return r;
    }
    // Without a collator, or for texts it finds equal, the bytes decide, so
    // the order is total and the same on every run.
    return a.compare(b);
}

}  // namespace qasp
