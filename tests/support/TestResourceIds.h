#pragma once

// String resources of the test executables.
#define IDS_TEST_PLAIN 60001
#define IDS_TEST_FORMAT 60002
#define IDS_TEST_POLISH 60003
