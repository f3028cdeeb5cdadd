// Keeps the support library non-empty while no shared double exists yet.
