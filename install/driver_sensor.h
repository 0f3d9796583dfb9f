#ifndef DRIVER_SENSOR_H
#define DRIVER_SENSOR_H

// Sensor models with each optional feature (comma-separated).
#define SUPPORT_SENSOR_MODE_SEL	3395,3950
#define SUPPORT_LOD_CAL	3395,3950
#define SUPPORT_RIPPLE	3395,3950
#define SUPPORT_FIXLINE	3395,3950
#define SUPPORT_MOTION_SYNC	3395,3950
#define SUPPORT_MOUSEPAD_CAL	3950

#endif
