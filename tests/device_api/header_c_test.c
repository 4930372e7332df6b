/* The public header used from C: it compiles as C11 (its layout checks are
 * _Static_asserts there) and a C caller links against the library. */
#include <stdio.h>
#include <string.h>

#include "talvoro_api.h"

int main(void) {
    static ProfileRecord record;
    memset(&record, 0, sizeof record);
    if (offsetof(ProfileRecord, macros) != 140 || sizeof record != 20212)
        return 1;
    /* With nothing open every command is a transport failure. */
    if (Close_QX_device() != 1 || Read_profile(0, &record) != QX_STATUS_TRANSPORT)
        return 1;
    /* The second export names link and answer as the first. */
    if (Close_FeatureDevice() != 1 || Get_squal_avg() != 1)
        return 1;
    if (Get_squal() != 1)
        return 1;
    puts("talvoro_api.h compiles and links as C");
    return 0;
}
