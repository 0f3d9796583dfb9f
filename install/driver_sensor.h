// Sensor features and DPI register tables of the supported sensors.
// A feature line names the sensor models that have the feature, joined without blanks.
// A register table has one line per DPI value: SENSOR_<model>_DPI_<dpi> and the register value.
// The 3395 and 3950 sensors have no table: their register values exceed one byte, and the
// formula carries the high bits in the range flags.

// Feature lists of the sensors
#define SUPPORT_SENSOR_MODE_SEL	3395
#define SUPPORT_LOD_CAL	3395|3950
#define SUPPORT_RIPPLE	3395|3950
#define SUPPORT_FIXLINE	3950
#define SUPPORT_MOTION_SYNC	3395|3950
#define SUPPORT_MOUSEPAD_CAL	3395|3950
