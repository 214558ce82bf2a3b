// Placeholder until the skin core lands.
