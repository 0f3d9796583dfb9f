#pragma once
// Device library C API.
