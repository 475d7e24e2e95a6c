x = 1
end
y = 2
end
