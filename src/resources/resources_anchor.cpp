// Keeps the resources library non-empty until the pictures are embedded.
