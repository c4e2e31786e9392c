<title>ЭјеОБъЬт</title>
