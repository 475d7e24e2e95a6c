// Stand-ins for services of srcfront that are not built yet, one function
// each, so that srcfront links and runs. Whoever builds the real function
// deletes its stand-in from this file. A stand-in prints nothing.
