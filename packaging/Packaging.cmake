# Installing and packaging (filled in as it lands).
