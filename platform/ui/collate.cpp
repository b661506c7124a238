#include "platform/ui/collate.h"

#include "platform/ui/trace.h"

#include <memory>
#include <unicode/ucol.h>
#include <unicode/uscript.h>

namespace ui {

namespace {

struct CollatorClose {
    void operator()(UCollator* c) const { ucol_close(c); }
};

UCollator* openCollator() {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* c = ucol_open("zh", &status);
    // Latin before Han: ICU's Chinese order puts Han first, which no Windows list does.
    const int32_t order[] = {USCRIPT_LATIN, USCRIPT_HAN};
    ucol_setReorderCodes(c, order, 2, &status);
    ucol_setAttribute(c, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    ucol_setAttribute(c, UCOL_STRENGTH, UCOL_SECONDARY, &status); // case is a tertiary difference
    if (U_FAILURE(status)) {
        ATLTRACE("compareListText: no Chinese collator (%s); lists sort by code unit\n", u_errorName(status));
        ucol_close(c);
        return nullptr;
    }
    return c;
}

UCollator* collator() {
    static std::unique_ptr<UCollator, CollatorClose> c(openCollator());
    return c.get();
}

} // namespace

int compareListText(std::u16string_view a, std::u16string_view b) {
    if (UCollator* c = collator())
        return int(ucol_strcoll(c, a.data(), int32_t(a.size()), b.data(), int32_t(b.size())));
    return a.compare(b);
}

} // namespace ui
