an unrelated file beside the root
