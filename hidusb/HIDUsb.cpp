// Device library entry points.
