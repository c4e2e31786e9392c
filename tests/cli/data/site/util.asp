another unrelated file beside the root
