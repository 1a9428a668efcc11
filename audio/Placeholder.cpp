// Keeps the library target buildable until its sources land.
