// Placeholder until the form runtime lands.
