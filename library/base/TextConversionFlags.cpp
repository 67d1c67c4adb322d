#include "library/base/TextConversionFlags.h"

DWORD ExactConversionFlags(UINT codePage)
{
    UINT actual = codePage == CP_ACP ? GetACP() : codePage;
    return actual == CP_UTF8 || actual == CP_UTF7 ? 0 : WC_NO_BEST_FIT_CHARS;
}
