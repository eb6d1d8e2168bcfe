<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.8" tiledversion="1.8.2" name="props" tilewidth="16" tileheight="16" tilecount="4" columns="2">
 <image source="props.png" width="40" height="32"/>
</tileset>
